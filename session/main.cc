#include "session/run_session.h"

int main() { return talvik::runSession(); }

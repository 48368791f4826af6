// The trivial program that tools/measure_run.sh times beside talvik: it
// echoes its input line by line through the C++ streams, so its time is the
// start and end of a C++ program and nothing else.
#include <iostream>
#include <string>

int main() {
  std::string line;
  while (std::getline(std::cin, line)) std::cout << line << '\n';
}

#ifndef TALVIK_ANALYSIS_NUMBER_CHARACTERS_H_
#define TALVIK_ANALYSIS_NUMBER_CHARACTERS_H_

namespace talvik {

// The characters of a number as the size file and typed answers write it.

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline bool isSign(char c) { return c == '+' || c == '-'; }

// E, D and Q, in either case, start an exponent.
inline bool isExponentLetter(char c) {
  switch (c) {
    case 'E':
    case 'e':
    case 'D':
    case 'd':
    case 'Q':
    case 'q':
      return true;
    default:
      return false;
  }
}

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_NUMBER_CHARACTERS_H_

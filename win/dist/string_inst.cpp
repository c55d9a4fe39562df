// The string members the programs use, instantiated here for the 486: the library's headers
// declare them as instantiated inside libstdc++.a, which is compiled for the Pentium Pro.
#include <string>

template class std::basic_string<char>;

// The standard library's throw helpers for the shipped files, without the standard exception classes.
//
// libstdc++'s own helpers build std::logic_error and its kin, whose reference-counted string
// brings a second copy of the string code and std::random_device with it: about 50 KB of each
// shipped file for failures that never happen in practice (a position past a string's end, a
// length beyond memory). Every boundary of the programs catches everything alike (`catch (...)`,
// nothing catches a particular standard exception), so a small exception of our own serves.
// Compiled into each shipped file only (vexbane_dist); the test tree keeps the library's helpers.
#include <exception>
#include <new>

namespace {

struct StandardLibraryFailure final : std::exception {
  const char* what() const noexcept override { return "standard library failure"; }
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_logic_error(const char*) { throw StandardLibraryFailure(); }
void __throw_length_error(const char*) { throw StandardLibraryFailure(); }
void __throw_out_of_range(const char*) { throw StandardLibraryFailure(); }
void __throw_out_of_range_fmt(const char*, ...) { throw StandardLibraryFailure(); }
void __throw_invalid_argument(const char*) { throw StandardLibraryFailure(); }

}  // namespace std

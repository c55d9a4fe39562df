// The language runtime's few services for a shipped file that throws and catches nothing (the
// setup program): memory and the standard library's failure paths end the program, as an
// exception that nothing catches would, instead of throwing.
//
// Linked in place of the runtime built for the 486 (vexbane_dist NO_EXCEPTIONS): with no throw
// anywhere, neither the personality routine, the unwinder, the type information classes nor any
// exception table is linked, which is most of such a file's size. Everything it links must then be
// compiled with -fno-exceptions; a piece that still throws pulls the library's own helpers back
// in, and the floor check names their Pentium Pro instructions.
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail() { std::abort(); }

void* Allocate(std::size_t size) noexcept { return std::malloc(size != 0 ? size : 1); }

}  // namespace

void* operator new(std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) Fail();
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

extern "C" void __cxa_pure_virtual() { Fail(); }

namespace std {

// Defined here, the library's member that holds it (with the new-handler functions, compiled for
// the Pentium Pro) stays out.
const nothrow_t nothrow{};

void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }

}  // namespace std

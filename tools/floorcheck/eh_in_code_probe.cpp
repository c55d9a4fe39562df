// A program for the 486 linked with the linker's default script, which keeps the exception
// tables at the end of the code section: the instruction check that steps over them by their
// symbols passes it, and only the reading of the code as it stands finds what lies there.
//
// Built without the C and C++ runtimes (their prebuilt code is for the Pentium Pro and would
// fail the check for its own reasons): the entry is ProbeEntry, and the calls the compiler
// makes for catch are answered here. Nothing of it is ever run.
extern "C" {
void* __cxa_begin_catch(void*) noexcept { return nullptr; }
void __cxa_end_catch() {}
void _Unwind_Resume(void*) {
  for (;;) {
  }
}
int __gxx_personality_v0() { return 0; }
}

// Bytes of an exception table as a disassembly would meet them: after sixteen one-byte NOPs any
// decoding is in step (no instruction is longer than fifteen bytes), and 0F 42 C1 reads as
// CMOVB %ecx,%eax.
asm(".section .gcc_except_table,\"w\"\n"
    ".byte 0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90,0x90\n"
    ".byte 0x0f,0x42,0xc1,0x90\n"
    ".text\n");

// Called through a pointer the compiler cannot see through, so the call may throw and the catch
// below gets an exception table of its own, pointed at from .eh_frame.
int Step(int value) { return value + 1; }
int (*volatile g_step)(int) = Step;

extern "C" int ProbeEntry() {
  int result = 0;
  try {
    result = g_step(1);
  } catch (...) {
    result = -1;
  }
  return result;
}

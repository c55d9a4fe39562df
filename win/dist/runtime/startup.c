/* What the C runtime's start-up code asks of the thread-local-storage and pseudo-relocation
   support, answered without them for the shipped files.

   The start-up code (dllcrt2.o, crt2.o) calls __dyn_tls_init_callback when it is set, and the
   runtime's definition of it lives beside the image's TLS directory: linking it gives every
   file a TLS directory, and Windows 95 refuses to load a DLL that has one. That callback ran the
   initialisers of native thread-local variables (the programs have none) and, at thread exit,
   the destructors that the compiler's emulated thread-local variables registered (only the
   language runtime's exception state used them; it is now kept by win/dist/thread_exceptions).

   The pseudo-relocation pass patches data imported from DLLs without an import stub. The
   shipped files are linked with --disable-runtime-pseudo-reloc, so the linker refuses any such
   reference and the pass has nothing to do. */
#include <windows.h>

const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = NULL;

void _pei386_runtime_relocator(void) {}

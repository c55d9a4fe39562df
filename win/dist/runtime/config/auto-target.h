/* What the runtime's configure finds for i686 Windows and the unwinder sources ask. */
#define HAVE_GETIPINFO 1

/* The one target macro the unwinder takes from the compiler's own headers: on x86 an unwind
   column is the register's own number. */
#ifndef DWARF_REG_TO_UNWIND_COLUMN
#define DWARF_REG_TO_UNWIND_COLUMN(REGNO) (REGNO)
#endif

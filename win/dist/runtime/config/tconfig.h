/* The target configuration the runtime's unwinder sources include; the compiler itself
   predefines what they need of the target (-fbuilding-libgcc). */
#ifndef GCC_TCONFIG_H
#define GCC_TCONFIG_H
#ifndef USED_FOR_TARGET
#define USED_FOR_TARGET
#endif
#endif

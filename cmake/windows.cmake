# Settings shared by every Windows target: static runtime, ANSI API, no min/max macros.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0400 WINVER=0x0400 _WIN32_IE=0x0500)
add_compile_options(-Wall -Wextra -Wno-missing-field-initializers -Wno-cast-function-type)
set(VEXBANE_STATIC_LINK -static -static-libgcc -static-libstdc++)
# IE 5 and Windows 95 run on a 486: no CMOV, FCOMI or later instructions in our own code (the
# i686 compilers default to the Pentium Pro).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_compile_options(-march=i486)
endif()
set(VEXBANE_WINE_IDL /usr/include/wine/wine/windows CACHE PATH "IDL imports for widl")
# stdole2.tlb for importlib(); the same file serves both word sizes.
set(VEXBANE_WINE_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Type libraries for widl")
option(VEXBANE_DIST "Copy the finished files into dist/" ON)
option(VEXBANE_TESTS "Build the Windows test suites" ON)
set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Flat folder of finished files")
# The i686 suite tree runs its suites against the shipped files in dist/ instead of its own builds
# of them (the wine32 preset sets it): there the suites exercise exactly what ships, runtime built
# for the 486 and program entry included.
set(VEXBANE_SHIPPED_DIR "" CACHE PATH "Run the suites against the shipped files in this folder")

# vexbane_program_under_test(OUT PATH): the program file the suites run for the one this tree
# builds at PATH: the shipped one of the same name when VEXBANE_SHIPPED_DIR is set.
function(vexbane_program_under_test out path)
  if(VEXBANE_SHIPPED_DIR)
    get_filename_component(name ${path} NAME)
    set(${out} ${VEXBANE_SHIPPED_DIR}/${name} PARENT_SCOPE)
  else()
    set(${out} ${path} PARENT_SCOPE)
  endif()
endfunction()

# The shipped files are small: code for size, every function and datum in a section of its own
# so the linker drops what nothing uses, and no symbols. The test tree keeps its debug info.
if(VEXBANE_DIST)
  # Link-time optimisation across files; fat objects keep the static libraries' indexes whole.
  add_compile_options(-Os -ffunction-sections -fdata-sections -flto -ffat-lto-objects)
  # Linked with symbols, stripped on the way into dist/: the floor check reads the code with
  # its symbols from the build tree's copy (tools/floorcheck).
  # One partition: GCC 12's i686 link-time optimiser stops with an internal error
  # (binds_to_current_def_p) on a copy constructor that two partitions share; one partition also
  # sees every call of a function when it decides how to compile it.
  add_link_options(-Os -flto -flto-partition=one -Wl,--gc-sections)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # An exception that escapes ends the program either way: without the verbose terminate
    # handler the C++ name demangler (about 75 KB of every file) stays out.
    add_link_options(-Wl,--defsym,__ZN9__gnu_cxx27__verbose_terminate_handlerEv=_abort)
    # The shipped files' linker script: the linker's own for their options (vexbane_dist), with
    # the exception tables and constructor lists out of the code section (cmake/data_out_of_code).
    include(${CMAKE_CURRENT_LIST_DIR}/data_out_of_code.cmake)
    set(VEXBANE_DIST_LD_OPTIONS --disable-runtime-pseudo-reloc)
    set(VEXBANE_DIST_LD_SCRIPT ${CMAKE_BINARY_DIR}/shipped.ld)
    vexbane_data_out_of_code_script(${VEXBANE_DIST_LD_SCRIPT} ${VEXBANE_DIST_LD_OPTIONS})
    # For a file that throws nothing (vexbane_dist NO_EXCEPTIONS) the little unwind data left (the
    # start-up objects') goes into .rdata: a section of its own would take a file block.
    set(VEXBANE_DIST_NO_EH_LD_SCRIPT ${CMAKE_BINARY_DIR}/shipped_no_eh.ld)
    vexbane_unwind_data_in_rdata_script(${VEXBANE_DIST_LD_SCRIPT} ${VEXBANE_DIST_NO_EH_LD_SCRIPT})
  endif()
  # The core is added before this file is read.
  if(TARGET core)
    target_compile_options(core PRIVATE -Os -ffunction-sections -fdata-sections)
  endif()
endif()

# vexbane_dist(TARGET [STRIPPED_DIR]): a shipped file. Links the runtime's CreateSemaphoreW through the ANSI call
# (win/shims) and the exception state kept without thread-local storage (win/dist); in the shipped
# 32-bit build also the runtime built for the 486; there it strips the finished file into dist/
# and keeps the file as linked, with its symbols, in symbols/ for the floor check. STRIPPED_DIR
# puts the stripped file elsewhere than dist/ (the setup program, which ships packed).
# NO_EXCEPTIONS: a file all of whose code is compiled without exceptions (the setup program):
# in the shipped build it links win/dist/no_exceptions.cpp in place of the language runtime, so
# neither the unwinder nor any exception table is linked.
function(vexbane_dist target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_EXCEPTIONS" "" "")
  set(stripped_dir ${DIST_DIR})
  if(arg_UNPARSED_ARGUMENTS)
    list(GET arg_UNPARSED_ARGUMENTS 0 stripped_dir)
  endif()
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/win/shims/create_semaphore.cpp)
  if(NOT (VEXBANE_DIST AND arg_NO_EXCEPTIONS))
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/win/dist/thread_exceptions.cpp)
  endif()
  if(VEXBANE_DIST)
    if(arg_NO_EXCEPTIONS)
      target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/win/dist/no_exceptions.cpp)
    else()
      target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/win/dist/std_throw.cpp)
    endif()
    if(TARGET runtime486)
      # The runtime built for the 486 and the start-up answers that keep the TLS directory out.
      if(NOT arg_NO_EXCEPTIONS)
        target_sources(${target} PRIVATE $<TARGET_OBJECTS:runtime486>)
      endif()
      target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/win/dist/runtime/startup.c
                                       ${CMAKE_SOURCE_DIR}/win/dist/string_inst.cpp)
      # The script was generated for exactly these options: the linker picks its script by them.
      set(ld_script ${VEXBANE_DIST_LD_SCRIPT})
      if(arg_NO_EXCEPTIONS)
        set(ld_script ${VEXBANE_DIST_NO_EH_LD_SCRIPT})
      endif()
      string(JOIN "," ld_options ${VEXBANE_DIST_LD_OPTIONS})
      target_link_options(${target} PRIVATE -Wl,${ld_options} -Wl,-T,${ld_script})
      set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${ld_script})
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        get_property(specs GLOBAL PROPERTY VEXBANE_EXE_SPECS)
        target_link_options(${target} PRIVATE -specs=${specs})
        add_dependencies(${target} exe_startup)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS $<TARGET_OBJECTS:exe_startup>)
      endif()
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${stripped_dir}
      COMMAND ${CMAKE_STRIP} --strip-all -o ${stripped_dir}/$<TARGET_FILE_NAME:${target}> $<TARGET_FILE:${target}>
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/symbols
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${CMAKE_BINARY_DIR}/symbols/)
  endif()
endfunction()

# vexbane_typelib(TARGET IDL): builds the type library IDL describes into TARGET's build folder
# (<idl name>.tlb, for the resource script's "1 TYPELIB") before TARGET's resources compile.
function(vexbane_typelib target idl)
  get_filename_component(name ${idl} NAME_WE)
  set(tlb ${CMAKE_CURRENT_BINARY_DIR}/${name}.tlb)
  add_custom_command(
    OUTPUT ${tlb}
    COMMAND ${VEXBANE_WIDL} -I${VEXBANE_WINE_IDL} -L${VEXBANE_WINE_TLB_DIR} -t -o ${tlb}
            ${CMAKE_CURRENT_SOURCE_DIR}/${idl}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${idl}
    COMMENT "Type library ${name}.tlb")
  add_custom_target(${target}_tlb DEPENDS ${tlb})
  add_dependencies(${target} ${target}_tlb)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
  get_target_property(sources ${target} SOURCES)
  foreach(src ${sources})
    if(src MATCHES "\\.rc$")
      set_source_files_properties(${src} PROPERTIES OBJECT_DEPENDS ${tlb})
    endif()
  endforeach()
endfunction()

# vexbane_print_sizes(TARGET...): after they are built, prints the sizes of the finished files in dist/.
function(vexbane_print_sizes)
  set(files "")
  foreach(target ${ARGN})
    list(APPEND files ${DIST_DIR}/$<TARGET_FILE_NAME:${target}>)
  endforeach()
  string(JOIN "|" files ${files})
  add_custom_target(dist_sizes ALL
    COMMAND ${CMAKE_COMMAND} -DFILES=${files} -P ${CMAKE_SOURCE_DIR}/cmake/print_sizes.cmake
    VERBATIM)
  add_dependencies(dist_sizes ${ARGN})
endfunction()

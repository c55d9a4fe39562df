# cmake -DNM=<nm> -DFILE=<linked file> -P no_exception_runtime.cmake: fails when FILE, a shipped
# file linked without the exception runtime (vexbane_dist NO_EXCEPTIONS), defines any of it after
# all: a piece compiled with exceptions (e.g. a library member the setup program started to use
# and that is not in its own list of sources) pulls the throw, the personality routine and the
# unwinder back in, silently, at some 50 KB.
execute_process(COMMAND ${NM} ${FILE} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} could not read ${FILE}")
endif()
string(REGEX MATCHALL "[^\n]* [TtDdRr] (___cxa_throw|___gxx_personality_v0|___gcc_personality_v0|__Unwind_RaiseException|__Unwind_Resume|___cxa_begin_catch|__ZTVN10__cxxabiv117__class_type_infoE)\n"
       found "${symbols}")
if(found)
  string(REPLACE "\n" " " found "${found}")
  message(FATAL_ERROR "${FILE} links the exception runtime (${found}): a piece it links is compiled "
                      "with exceptions; compile it into the program without them (installer/CMakeLists.txt)")
endif()

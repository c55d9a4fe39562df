// A DLL with a thread-local variable: the runtime's TLS support gives it a TLS directory.
thread_local int g_calls;

extern "C" __declspec(dllexport) int Calls() { return ++g_calls; }

// A stand-in host module for the batch-session test: the two services the
// plug-in asks a host about, with setters for the test.
#include <windows.h>

static int inBatch, session;

extern "C" __declspec(dllexport) int WINAPI RQ_InBatch(void) { return inBatch; }
extern "C" __declspec(dllexport) int WINAPI RQ_GetBatchSession(void) { return session; }
extern "C" __declspec(dllexport) void test_host_set(int batch, int number) {
    inBatch = batch;
    session = number;
}

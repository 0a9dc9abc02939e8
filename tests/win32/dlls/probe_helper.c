/* The ordinary DLL beside the probe: loaded by the system, it keeps the probe's entry-point
   calls after the probe's memory is gone, and it exports two functions by ordinal only, so
   that the probe imports by ordinal. No C runtime: nothing runs before the entry point. */
#include <windows.h>

#define MAX_CALLS 16

/* The instance handle is pointer-sized: a 64-bit image may be mapped above 4 GiB. */
static struct {
    UINT_PTR instance;
    DWORD reason, value;
} calls[MAX_CALLS];
static LONG callCount;

/* Ordinal 1: one entry-point call of the probe, with what the probe saw at that moment. */
void helper_record_entry(UINT_PTR instance, DWORD reason, DWORD value) {
    if (callCount < MAX_CALLS) {
        calls[callCount].instance = instance;
        calls[callCount].reason = reason;
        calls[callCount].value = value;
    }
    ++callCount;
}

/* Ordinal 2. */
int helper_triple(int x) {
    return 3 * x;
}

/* For the checks, by name. */
LONG helper_entry_call_count(void) {
    return callCount;
}

BOOL helper_entry_call(LONG index, UINT_PTR* instance, DWORD* reason, DWORD* value) {
    if (index < 0 || index >= callCount || index >= MAX_CALLS) {
        return FALSE;
    }
    *instance = calls[index].instance;
    *reason = calls[index].reason;
    *value = calls[index].value;
    return TRUE;
}

void helper_forget_entry_calls(void) {
    callCount = 0;
}

BOOL WINAPI HelperEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

/* The image the checks map from memory. Built without a C runtime and with an explicit
   entry point, so that nothing in it needs TLS callbacks, which that loader does not run.
   PROBE_ATTACH_RESULT is what the entry point answers to the process attach;
   PROBE_UNRESOLVABLE adds an import that no library supplies. */
#include <windows.h>

#ifndef PROBE_ATTACH_RESULT
#define PROBE_ATTACH_RESULT TRUE
#endif

/* From probe_helper.dll, by ordinal. */
void helper_record_entry(UINT_PTR instance, DWORD reason, DWORD value);
int helper_triple(int x);

#ifdef PROBE_UNRESOLVABLE
__declspec(dllimport) int SumbrookNoSuchFunction(void);
#endif

/* Pointers stored in data: each needs a base relocation when the image moves. */
static const char text[] = "sumbrook";
const char* probe_text_pointers[2] = {text, text + 3};
int probe_value = 41;
int* probe_value_pointer = &probe_value;

int ProbeLength(const char* s) {
    return lstrlenA(s); /* kernel32, by name */
}

int ProbeTriple(int x) {
#ifdef PROBE_UNRESOLVABLE
    if (x < 0) {
        return SumbrookNoSuchFunction();
    }
#endif
    return helper_triple(x);
}

int ProbeOrdinalOnly(void) {
    return 77;
}

/* Dereferences a relocated pointer, so the record shows that relocation came first. */
BOOL WINAPI ProbeEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    helper_record_entry((UINT_PTR)instance, reason, (DWORD)*probe_value_pointer);
    return PROBE_ATTACH_RESULT;
}

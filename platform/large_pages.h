// Large counts take hundreds of megabytes in small pieces (a node, a report
// line), and on this system touching each new 4 KiB page of it costs a page
// fault that can take longer than the counting itself. The C library backs
// its heap with 2 MiB pages when it is told so at start-up, through the
// environment. This does that: it starts the program over once, with the
// setting added, when the system hands out such pages on request and nobody
// has chosen the library's settings already (nor limited the memory of the
// process).
#ifndef VORLAN_PLATFORM_LARGE_PAGES_H
#define VORLAN_PLATFORM_LARGE_PAGES_H

// Call first thing in main, before any thread or open window. Returns only
// when the program goes on as it is (the library's settings already chosen,
// VORLAN_LARGE_PAGES set, as on the restarted process, nothing to gain, or
// the restart failed); otherwise the process image is replaced, with the
// same arguments, descriptors and environment but for those two variables.
void RestartWithLargePageHeap(char** argv);

// Hands the heap's free memory back to the system: the pad each thread's
// heap keeps at its top, and free pages within. Call when a large amount
// was freed (the tallies of a count on several threads) before more is
// taken, so that the two do not add up.
void ReturnFreeHeapMemory() noexcept;

#endif

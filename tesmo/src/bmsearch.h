// The process-wide Boyer-Moore search state, readable for tests. Internal:
// not exported.
#ifndef TESMO_BMSEARCH_H
#define TESMO_BMSEARCH_H

namespace tesmo {

// The shift of a byte value under the pattern last given to bminitialize.
int BmShift(unsigned char byte);

// The length of the pattern last given to bminitialize; 0 before the first.
int BmPatternLength();

} // namespace tesmo

#endif // TESMO_BMSEARCH_H

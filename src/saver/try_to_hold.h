// The one rule for pictures too large to hold: memory ran out, or the picture is larger than a
// buffer can index (a huge virtual screen). Only those two: any other exception is a fault and must
// not become a black screen.
#pragma once
#include <new>
#include <stdexcept>

namespace kovaren::saver {

// Runs `make`; false when it could not get the memory it needed.
template <class Make>
bool TryToHold(Make&& make) {
  try {
    make();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

}  // namespace kovaren::saver

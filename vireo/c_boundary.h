#pragma once
// Runs the body of a C entry point so that no exception crosses into the caller.

#include <new>

#include "server/vireo.h"

namespace azu::vireo {

template <typename Body>
VIREO_STATUS Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return VIREO_E_NO_MEMORY;
  } catch (...) {
    // A C caller cannot take an exception; this is the status of a request that went wrong.
    return VIREO_E_PROTOCOL;
  }
}

}  // namespace azu::vireo

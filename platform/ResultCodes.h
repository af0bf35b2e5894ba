// What an operation that can fail returns: S_OK, or E_FAIL once it has told
// the user why. Callers mostly look only at the load's result.
#pragma once

#include <cstdint>

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// Compares two documents object by object, in file order.
#pragma once

#include "model/binary/Document.h"

#include <string>

namespace xfile_testing {

// The first difference between the object trees of `a` and `b` ("" when
// there is none): types, names, GUIDs, and parts of the same kinds and
// lengths holding the same values, floats within `tolerance` of each other
// (relative above 1).
std::string FirstDifference(const xfile::Document& a, const xfile::Document& b, float tolerance = 0);

}  // namespace xfile_testing

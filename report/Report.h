// The text report of a loaded model, written to an open stream; "Save txt"
// writes it to a file, the report tool to standard output.
#pragma once

#include <cstdio>

class Model;

void WriteTextReport(const Model& model, std::FILE* out);

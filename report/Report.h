// What the user can learn of a loaded model in words: the "Infos" boxes, one
// per mesh, and the "Save txt" report of every mesh. Both read the model as
// it stands after loading and change nothing.
#pragma once

#include <cstdio>
#include <string>

struct Model;

namespace report {

// One "Infos Mesh" box per mesh, each waiting until dismissed.
void ShowInfo(const Model& model);

// Writes the report to the file at `path` as typed, replacing it whole or
// not at all: a file already there stays as it was unless the whole report
// is written. Empty on success, else the system's reason (the caller tells
// the user).
std::string SaveText(const Model& model, const std::string& path);

// The same report to an open stream (the report tool writes to standard output).
void WriteTextReport(const Model& model, std::FILE* out);

}  // namespace report

// Where a texture named by a model is read from. Models made on Windows name
// their textures with "\" separators, in another case, or by a path that
// only existed on the author's machine.
#pragma once

#include <string>
#include <string_view>

// The text after the last dot of the whole name, directories included; a
// name without a dot is its own extension. It chooses the reader.
std::string_view TextureExtension(std::string_view fileName);

// The first of these that is an existing file:
//   1. the name as written, relative to the current folder;
//   2. the name with every "\" read as "/", relative to the current folder;
//   3. that name relative to `modelFolder`;
//   4. the name's last component (after the last "/" or "\") in `modelFolder`.
// At each step a file of the same folder whose name differs only in ASCII
// case also counts. When none exists, the name as written.
std::string ResolveTextureFile(const std::string& name, const std::string& modelFolder);

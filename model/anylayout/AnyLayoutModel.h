// The Model of a ".x" text file in any layout: its data objects read as
// tokens (AnyLayoutObjects.h), then given meaning by ModelFromObjects, as a
// binary file's. For the text files the line reader refuses.
#pragma once

#include "model/Model.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The model of `text`, named `path` (kept as its source), meshes in opacity
// order; or nothing with the message in `error`.
std::optional<Model> ReadAnyLayoutText(const std::string& path, std::span<const std::uint8_t> text, std::string& error);

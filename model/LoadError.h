// Why a model file did not load, and the read's result: the model or that.
// The readers show nothing: what the user is to be told travels in the
// error, in order, and the viewer or the tool shows or prints it.
#pragma once

#include "model/Model.h"
#include "platform/Messages.h"
#include "platform/RegularFile.h"

#include <string>
#include <utility>
#include <variant>
#include <vector>

enum class LoadErrorKind {
    NoSuchFile,
    NotReadable,  // a folder, a device, no permission, a read that failed or ended early
    NotAModel,    // not the first line of a ".x" file
    Refused,      // a ".x" file the reader cannot read
    TooLarge,
    OutOfMemory,
};

struct LoadError {
    LoadErrorKind kind = LoadErrorKind::Refused;
    // In words, for a tool's "cannot load FILE: …": "no such file", "a
    // folder, not a file", "not readable (Permission denied)"…
    std::string reason;
    // What the viewer shows, in this order: empty when the file could not
    // be opened or read, which the viewer does not tell.
    std::vector<platform::Message> messages;
};

// A file `OpenRegularFile` did not open.
LoadError CannotOpen(const platform::OpenFailure& failure);
// A read that failed (`error`, an errno) or found the file shorter than its
// size (`error` 0).
LoadError UnreadableFile(int error);
// An error of `kind` with its reason in words and what the user is told.
LoadError LoadErrorOf(LoadErrorKind kind, std::vector<platform::Message> messages = {});

// The model read, or why there is none. Used as std::optional<Model> is:
// `if (read) read->meshes…`, `*read`, and `error()` when there is none.
class ModelOrError {
public:
    ModelOrError(Model model) : value_(std::move(model)) {}
    ModelOrError(LoadError error) : value_(std::move(error)) {}

    bool has_value() const { return std::holds_alternative<Model>(value_); }
    explicit operator bool() const { return has_value(); }
    Model& operator*() & { return std::get<Model>(value_); }
    const Model& operator*() const& { return std::get<Model>(value_); }
    Model&& operator*() && { return std::get<Model>(std::move(value_)); }
    Model* operator->() { return &std::get<Model>(value_); }
    const Model* operator->() const { return &std::get<Model>(value_); }
    LoadError& error() { return std::get<LoadError>(value_); }
    const LoadError& error() const { return std::get<LoadError>(value_); }

private:
    std::variant<Model, LoadError> value_;
};

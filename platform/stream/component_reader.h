// Reads a binary component stream: checks the signature, creates the root
// from its stored class name through the class registry, assigns every
// stored property through its setter and adds the child objects.
//
// A damaged stream raises StreamError with the reader's texts ("Stream read
// error", "Invalid stream format", "Class %s not found", "Error reading
// %s%s%s: %s"); the object being read is then discarded, so the caller's
// document is never touched by a failed read.
#pragma once

#include "stream_object.h"

#include <QByteArrayView>

#include <memory>

namespace stream {

// Objects, collections and items nest at most this deep.
inline constexpr int MaxNestingDepth = 32;

// The caller owns the result.
std::unique_ptr<StreamObject> ReadComponent(QByteArrayView data);

} // namespace stream

#pragma once
// The files of a dropped folder, sub-folders included, in a stable order.
#include <cstdint>
#include <functional>
#include <string>

class FileSystem;

// Called with each file's full path and its size as listed; returning false stops the walk.
using FileVisitor = std::function<bool(const std::string& path, std::int64_t bytes)>;

// Walks folder depth first: in every folder its files come first, then its sub-folders,
// each group in name order (see NameLess). Returns false when the visitor stopped it.
bool ForEachFileIn(FileSystem&, const std::string& folder, const FileVisitor&);

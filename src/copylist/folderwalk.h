#pragma once
// The files of a dropped folder, sub-folders included, in a stable order.
#include <functional>
#include <string>

class FileSystem;

// Called with each file's full path; returning false stops the walk.
using FileVisitor = std::function<bool(const std::string& path)>;

// Walks folder depth first: in every folder its files come first, then its sub-folders,
// each group in name order (see NameLess). Returns false when the visitor stopped it.
bool ForEachFileIn(FileSystem&, const std::string& folder, const FileVisitor&);

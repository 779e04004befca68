#pragma once
// File drops from the shell.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

// Gets the full paths of all dropped items, in the source's order, joined by "\r\n".
using DropHandler = std::function<void(const std::string& paths)>;

// A drop target that takes file drops (CF_HDROP) and nothing else. The caller owns the
// one reference returned.
IDropTarget* NewFileDropTarget(DropHandler onDrop);

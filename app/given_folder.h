#pragma once
// Folders handed to the program from outside its window: on its command line (a shortcut, Explorer's
// 发送到) or dropped on it from Explorer. None of them starts a run; they only fill the folder box.

#include "platform/unique_handle.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace app {

// A drop's list of paths, handed back to the shell when done.
using unique_hdrop = platform::unique_any<platform::NullIsEmptyTraits<HDROP, ::DragFinish>>;

// The first argument on the program's command line as a full path, as a shortcut or 发送到 gives it;
// empty when there is none.
std::wstring CommandLinePath();

// The first path of a drop; empty when it holds none.
std::wstring DroppedPath(HDROP drop);

// The folder a given path stands for: a folder itself, a file (an archive) its folder. A path that names
// nothing is kept as given, for the run to refuse with its message.
std::wstring FolderOf(const std::wstring& path);

} // namespace app

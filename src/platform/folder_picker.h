#pragma once

#include <optional>
#include <string>

class CWnd;

// The system's folder chooser, modal over `owner` (none when null), with
// `title` as its prompt, opening with `startFolder` selected and accepting
// only folders of the file system. Answers the chosen folder's full path;
// nothing when the user cancelled or the chooser failed.
std::optional<std::string> PickFolder(const CWnd* owner, const std::string& title, const std::string& startFolder);

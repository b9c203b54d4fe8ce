#pragma once

#include <optional>
#include <string>

class QWidget;

// A modal folder chooser for Windows paths: opens at the host folder of
// `startFolder` and answers the chosen folder as a Windows path through the
// drive that covers it, or nothing when the user cancelled or no drive
// covers the choice.
namespace FolderPicker {

std::optional<std::string> pick(QWidget* owner, const std::string& title, const std::string& startFolder);

// The Windows path of a host folder through the drive whose target is the
// longest prefix of it, or nothing.
std::optional<std::string> windowsPathOf(const std::string& hostFolder);

} // namespace FolderPicker

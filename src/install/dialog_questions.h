#pragma once

#include "install/conflict_checks.h"

// The run's questions asked through the two conflict dialogs, owned by the
// application's main window.
class DialogQuestions : public ConflictQuestions {
public:
    std::optional<std::string> askVornName(const std::string& name, const ControlText& controlText) override;
    std::optional<std::string> askFileName(const std::string& fileName, const std::string& folder) override;
};

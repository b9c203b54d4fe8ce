#pragma once

#include "payload/control_file.h"
#include "payload/control_text.h"

#include <optional>
#include <string>

enum class CheckAnswer { Proceed, Skip };

// The two questions a run asks when a Vorn name is taken (or unusable) or a
// file of the entry's name exists: the dialogs ask the user, an unattended
// run answers by its policy. Nothing means: skip the entry.
class ConflictQuestions {
public:
    virtual ~ConflictQuestions() = default;
    virtual std::optional<std::string> askVornName(const std::string& name, const ControlText& controlText) = 0;
    virtual std::optional<std::string> askFileName(const std::string& fileName, const std::string& folder) = 0;
};

// Questions answered without asking: skip every conflict, or take the names
// the dialogs would propose.
class PolicyQuestions : public ConflictQuestions {
public:
    enum class Policy { skip, rename };
    explicit PolicyQuestions(Policy policy)
        : m_policy(policy)
    {
    }

    std::optional<std::string> askVornName(const std::string& name, const ControlText& controlText) override;
    std::optional<std::string> askFileName(const std::string& fileName, const std::string& folder) override;

private:
    Policy m_policy;
};

// Makes sure the entry's Vorn name is usable and not listed in the control
// file's text, asking while it is. May change `name`.
CheckAnswer CheckVornName(std::string& name, const ControlText& text, ConflictQuestions& questions);

// Makes sure no file of the entry's name exists in the folder, asking while
// one does. May change `fileName`; sets `path` to the folder, one backslash
// and the final file name.
CheckAnswer CheckFileName(std::string& fileName, const std::string& folder, std::string& path,
                          ConflictQuestions& questions);

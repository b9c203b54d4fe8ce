#pragma once

#include <optional>
#include <string>
#include <vector>

// The Wine prefix whose drives the program sees: the folder that holds
// dosdevices/, drive_c/ and the registry files.
class WinePrefix {
public:
    explicit WinePrefix(std::string root);

    // The prefix of this process: $WINEPREFIX when it is an absolute path,
    // else $HOME/.wine, read on first use.
    static const WinePrefix& current();
    // Makes another prefix the process's own: the one the user chose, or a
    // throwaway prefix in tests.
    static void use(const std::string& root);
    // Whether $WINEPREFIX names the process's prefix, which then is the only
    // one to use.
    static bool givenByEnvironment();

    const std::string& root() const { return m_root; }

    // Host folder that the root of drive `letter` (any case) maps to, or
    // nothing when the prefix has no such drive.
    std::optional<std::string> driveRoot(char letter) const;
    // Host folder under which \\server\share paths live.
    std::string uncRoot() const;

    struct Drive {
        char letter; // lower case
        std::string target; // host path with links resolved
    };
    // Every mapped drive, letters in order.
    std::vector<Drive> drives() const;

private:
    bool hasDosDevices() const;

    std::string m_root;
};

#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// A drive C of the test's own for its lifetime. On Linux a Wine-style
// prefix in a temporary folder, made the process's prefix: drive_c, and
// dosdevices with c: and z: linked as Wine links them (z: is a folder of its
// own here, so tests never touch the real root). On Windows the real C: of
// the throwaway Wine prefix the tests run in, with what the test made there
// and the registration removed afterwards.
class ThrowawayPrefix {
public:
    explicit ThrowawayPrefix(bool withDosDevices = true);
    ~ThrowawayPrefix();
    ThrowawayPrefix(const ThrowawayPrefix&) = delete;
    ThrowawayPrefix& operator=(const ThrowawayPrefix&) = delete;

    std::string root() const;
    // Host path of a path below drive C (`relative` with forward slashes).
    std::string onDriveC(const std::string& relative) const;

    void makeFolder(const std::string& relative) const;
    void writeFile(const std::string& relative, const std::string& bytes) const;
    std::string readFile(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    // The 8.3 alias the backend gives the last name of a path below drive C.
    std::string shortAlias(const std::string& relative) const;

    // Writes a registry file (user.reg or system.reg) with Wine's header and
    // the given sections (Linux only: the prefix's own files).
    void writeRegistry(const std::string& file, const std::string& sections) const;
    // Registers Corvane's open command for HKEY_CLASSES_ROOT.
    void registerHost(const std::string& command) const;
    // A host at C:\Corvane whose Vorns folder holds an empty control file.
    void installHost() const;

    // A folder of `relative`'s name on a small file system of its own holding
    // `files`, filled up but for `pagesFree` pages of 4 KiB (a file named
    // "filler" takes the rest), until the prefix is gone; answers its
    // Windows path. On Linux C:\<relative>, mounted there; on Windows on
    // drive S:, the small disk run_under_wine.sh links into the prefix.
    // Nothing where this process may not mount one, or no drive S: is.
    std::optional<std::string> mountFullDisk(const std::string& relative,
                                             const std::map<std::string, std::string>& files, int pagesFree);
    // Where a Windows path on the prefix's drives is on the host.
    std::string diskPathOf(const std::string& windowsPath) const;

private:
    std::string m_root;
    std::vector<std::string> m_mounts;
    std::vector<std::string> m_before; // Windows: what C:\ held
    std::string m_previous;
};

std::string readDiskFile(const std::string& hostPath);
void writeDiskFile(const std::string& hostPath, const std::string& bytes);

// The names in a host folder, every entry, hidden ones too, in byte order.
std::vector<std::string> entriesOfDiskFolder(const std::string& hostPath);

// The system's own words for a full disk, as a failure's text ends.
extern const char* const kDiskFullText;
// Whether room can be set aside on mountFullDisk's file system: Linux's
// tmpfs can; Wine has no allocation beyond a file's end.
extern const bool kFullDiskSetsRoomAside;

// "é" and "É" as the backend's narrow texts have them: UTF-8 on Linux, the
// ANSI code page (1252 under the tests' Wine) on Windows.
extern const char* const kSmallEAcute;
extern const char* const kCapitalEAcute;

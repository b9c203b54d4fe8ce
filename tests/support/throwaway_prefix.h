#pragma once

#include <QTemporaryDir>

#include <map>
#include <string>
#include <vector>

// A Wine-style prefix in a temporary folder, made the process's prefix for
// its lifetime: drive_c, and dosdevices with c: and z: linked as Wine links
// them (z: is a folder of its own here, so tests never touch the real root).
class ThrowawayPrefix {
public:
    explicit ThrowawayPrefix(bool withDosDevices = true);
    ~ThrowawayPrefix();

    std::string root() const;
    // Host path of a path below drive C, written with forward slashes.
    std::string onDriveC(const std::string& relative) const;

    void makeFolder(const std::string& relative) const;
    void writeFile(const std::string& relative, const std::string& bytes) const;
    std::string readFile(const std::string& relative) const;
    bool exists(const std::string& relative) const;

    // Writes a registry file (user.reg or system.reg) with Wine's header and
    // the given sections.
    void writeRegistry(const std::string& file, const std::string& sections) const;
    // Registers Corvane's open command in system.reg.
    void registerHost(const std::string& command) const;
    // A host at C:\Corvane whose Vorns folder holds an empty control file.
    void installHost() const;

    // Makes the folder below drive C a small file system of its own holding
    // `files`, filled up but for `pagesFree` pages of 4 KiB (a file named
    // "filler" takes the rest), until the prefix is gone. Answers false
    // where this process may not mount one.
    bool mountFullDisk(const std::string& relative, const std::map<std::string, std::string>& files, int pagesFree);

private:
    QTemporaryDir m_dir;
    std::vector<std::string> m_mounts;
    std::string m_previous;
};

std::string readHostFile(const std::string& hostPath);
void writeHostFile(const std::string& hostPath, const std::string& bytes);

#include "control_file.h"

#include "file_exception.h"
#include "resource_ids.h"
#include "string_table.h"

#include <cerrno>
#include <new>

std::string ControlFilePath(const std::string& folder)
{
    return folder + "\\" + LoadString(IDS_CONTROL_FILE);
}

ControlFile OpenControlFile(const std::string& folder)
{
    ControlFile file;
    file.path = ControlFilePath(folder);
    file.handle.Open(file.path,
                     StdioFile::typeBinary | StdioFile::shareExclusive | StdioFile::modeReadWrite);
    file.handle.SeekToEnd();
    return file;
}

void RememberEnd(ControlFile& file)
{
    file.savedEnd = file.handle.GetPosition();
}

std::string ReadControlText(ControlFile& file)
{
    file.handle.Seek(0, StdioFile::begin);
    const std::uint64_t length = file.handle.GetLength();
    std::string text;
    try {
        text.resize(std::size_t(length));
    } catch (const std::exception&) {
        throw FileException(FileException::genericException, ENOMEM, file.path);
    }
    text.resize(file.handle.Read(text.data(), text.size()));
    // The text is searched as a zero-terminated string.
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

void SeekToEnd(ControlFile& file)
{
    file.handle.SeekToEnd();
}

bool IsVornNameTaken(const std::string& text, const std::string& name)
{
    return text.find("VornName:" + name + "\r\n") != std::string::npos;
}

std::string FormatRecord(const VornRecord& record)
{
    std::string text;
    const auto line = [&text](const char* key, const std::string& value) {
        text += key;
        text += value;
        text += "\r\n";
    };
    line("VornName:", record.name);
    line("VornFile:", record.file);
    line("StepSize:", record.stepSize);
    line("VornsAcross:", record.across);
    line("VornsDown:", record.down);
    line("VornPlacementMode:", record.placementMode);
    line("VornSelectionMode:", record.selectionMode);
    text += "\r\n";
    return text;
}

void AppendRecord(ControlFile& file, const std::string& recordText)
{
    file.handle.Seek(std::int64_t(file.savedEnd), StdioFile::begin);
    file.handle.Write("\r\n\r\n", 4);
    file.handle.Write(recordText.data(), recordText.size());
}

void CloseControlFile(ControlFile& file)
{
    file.handle.Close();
}

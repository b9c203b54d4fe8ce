#include "control_file.h"

#include "file_exception.h"
#include "resource_ids.h"
#include "string_table.h"
#include "text_search.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>

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

ControlText::ControlText(std::size_t length)
    : m_bytes(new char[length + 1])
{
    m_bytes[0] = '\0';
}

void ControlText::setLength(std::size_t read)
{
    m_bytes[read] = '\0';
    const void* zero = std::memchr(m_bytes.get(), '\0', read + 1);
    m_searchable = std::size_t(static_cast<const char*>(zero) - m_bytes.get());
}

ControlText ReadControlText(ControlFile& file)
{
    file.handle.Seek(0, StdioFile::begin);
    const std::uint64_t length = file.handle.GetLength();
    if (length >= std::uint64_t(SIZE_MAX))
        throw FileException(FileException::genericException, ENOMEM, file.path);
    std::optional<ControlText> text;
    try {
        text.emplace(std::size_t(length));
    } catch (const std::bad_alloc&) {
        throw FileException(FileException::genericException, ENOMEM, file.path);
    }
    text->setLength(file.handle.Read(text->data(), std::size_t(length)));
    return std::move(*text);
}

void SeekToEnd(ControlFile& file)
{
    file.handle.SeekToEnd();
}

bool IsVornNameTaken(std::string_view text, const std::string& name)
{
    return TextSearcher("VornName:" + name + "\r\n").find(text) != std::string_view::npos;
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

#include "support/test_catalogue.h"

#include "platform/module_resources.h"

#include <filesystem>
#include <fstream>
#include <random>

TestCatalogue::TestCatalogue()
{
    std::random_device random;
    std::filesystem::path root;
    do
        root = std::filesystem::temp_directory_path() / ("quillop-catalogue-" + std::to_string(random()));
    while (!std::filesystem::create_directory(root));
    m_root = root.string();
    ModuleResources::setRoot(m_root);
}

TestCatalogue::~TestCatalogue()
{
    ModuleResources::setRoot({});
    std::filesystem::remove_all(m_root);
}

void TestCatalogue::write(const std::string& type, const std::string& name, const std::string& bytes)
{
    const std::filesystem::path path = std::filesystem::path(m_root) / type / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void TestCatalogue::setCountBytes(const std::string& bytes)
{
    write("NUM_VORNS", "IDR_NUM_VORNS", bytes);
}

void TestCatalogue::setCount(std::uint32_t count)
{
    setCountBytes(
        std::string{char(count & 0xff), char(count >> 8 & 0xff), char(count >> 16 & 0xff), char(count >> 24 & 0xff)});
}

void TestCatalogue::setRecord(int k, const std::string& record)
{
    write("CTL", "IDR_CTL" + std::to_string(k), record);
}

void TestCatalogue::setImage(int k, const std::string& image)
{
    write("VRN", "IDR_VRN" + std::to_string(k), image);
}

void TestCatalogue::setUnloadable(const std::string& type, const std::string& name)
{
    write(type, name + "/content", "");
}

void TestCatalogue::addEntry(int k, const std::string& name)
{
    setRecord(k, recordFor(name, name + ".vrn"));
    setImage(k, "image of " + name);
}

std::string recordFor(const std::string& name, const std::string& file, const std::string& stepSize)
{
    return "\r\nVornName:" + name + "\r\nVornFile:" + file + "\r\nStepSize:" + stepSize
        + "\r\nVornsAcross:3\r\nVornsDown:2\r\nTotalVorns:6\r\nVornPlacementMode:0\r\n"
          "VornSelectionMode:0\r\n\r\n";
}

#pragma once

#include <cstdint>
#include <string>

// A catalogue of the test's own making, in a temporary folder, used in
// place of the compiled-in one for its lifetime. The same on every backend.
class TestCatalogue {
public:
    TestCatalogue();
    ~TestCatalogue();
    TestCatalogue(const TestCatalogue&) = delete;
    TestCatalogue& operator=(const TestCatalogue&) = delete;

    void setCountBytes(const std::string& bytes);
    void setCount(std::uint32_t count);
    void setRecord(int k, const std::string& record);
    void setImage(int k, const std::string& image);
    // A resource that is found but cannot be loaded (a folder).
    void setUnloadable(const std::string& type, const std::string& name);
    // An entry named `name` with the file name + ".vrn" and a small image.
    void addEntry(int k, const std::string& name);

private:
    void write(const std::string& type, const std::string& name, const std::string& bytes);

    std::string m_root;
};

// A record in the collection's layout.
std::string recordFor(const std::string& name, const std::string& file, const std::string& stepSize = "250");

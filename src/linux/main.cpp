#include "linux/linux_command_line.h"
#include "platform/linux/process_environment.h"

#include <csignal>
#include <iostream>
#include <streambuf>

namespace {

// Stands in for a standard output that was closed at start, for as long as
// it lives: the first write fails, as it would have on the closed descriptor.
class ClosedOutput : public std::streambuf {
public:
    explicit ClosedOutput(bool closed)
        : m_original(closed ? std::cout.rdbuf(this) : nullptr)
    {
    }
    ~ClosedOutput() override
    {
        if (m_original)
            std::cout.rdbuf(m_original);
    }
    ClosedOutput(const ClosedOutput&) = delete;
    ClosedOutput& operator=(const ClosedOutput&) = delete;

protected:
    int_type overflow(int_type) override { return traits_type::eof(); }

private:
    std::streambuf* m_original;
};

} // namespace

int main(int argc, char* argv[])
{
    const unsigned closed = OpenStandardDescriptors();
    const bool outputClosed = closed & 2u;
    const ClosedOutput nowhere(outputClosed);
    // A closed pipe shows as a write error, not as a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    LinuxCommandLine program(argc, argv, outputClosed);
    // Arguments are bytes, passed on as they are.
    return RunQuillop(std::vector<std::string>(argv, argv + argc), program);
}

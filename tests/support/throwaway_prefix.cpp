// What a throwaway drive C does the same way on every backend.
#include "support/throwaway_prefix.h"

void ThrowawayPrefix::writeFile(const std::string& relative, const std::string& bytes) const
{
    writeDiskFile(onDriveC(relative), bytes);
}

std::string ThrowawayPrefix::readFile(const std::string& relative) const
{
    return readDiskFile(onDriveC(relative));
}

void ThrowawayPrefix::installHost() const
{
    writeFile("Corvane/Vorns/Vorns.ctl", "");
    registerHost("C:\\Corvane\\Corvane.exe %1");
}

#include "windows/windows_command_line.h"

#include "app/quillop_app.h"

std::string WindowsCommandLine::description() const
{
    return "Installs the Quenna Picture Vorn collection into the Vorns folder of Corvane.";
}

std::optional<ExitCode> WindowsCommandLine::prepareUnattended(UnattendedReport&)
{
    // No "insert a disk" or "cannot open" box from Windows itself: the run
    // meets such errors as any other, without a wait.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::nullopt;
}

int WindowsCommandLine::runWindow(const std::string& folder)
{
    theApp.m_givenFolder = folder;
    return AfxWinMain(theApp);
}

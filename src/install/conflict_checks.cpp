#include "conflict_checks.h"

CheckAnswer CheckVornName(std::string&, ControlFile&)
{
    return CheckAnswer::Proceed;
}

CheckAnswer CheckFileName(std::string& fileName, const std::string& folder, std::string& path)
{
    path = folder + "\\" + fileName;
    return CheckAnswer::Proceed;
}

// What the Filter Manager and the service control manager need from a minifilter's registration
// before they load it, checked the way the stand-in driver's load does.
#pragma once

#include <string>

namespace brambolt::testbench {

struct RegistrationVerdict {
    bool present = false;  // the service key exists and its image file exists
    bool complete = false;
    std::wstring problem;  // the first missing or wrong item, else empty
};

RegistrationVerdict CheckRegistration(const std::wstring& serviceName);

// Writes a complete registration for a service (tests that do not go through the program's own
// installation): image file, instance and altitude as given.
void WriteRegistrationForTests(const std::wstring& serviceName, const std::wstring& imageFile,
                               const std::wstring& instanceName, const std::wstring& altitude);
void DeleteRegistrationForTests(const std::wstring& serviceName);

}  // namespace brambolt::testbench

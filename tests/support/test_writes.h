#pragma once
#include <string>

namespace testsupport {

// Runs one statement on the database the session's direct queries read
// (platform::session()), through a writable connection of the tests' own: the
// direct queries refuse writes, and tests still seed and break their data.
// Answers the rows it touched.
long long writeToDatabase(const std::string& sql);

}  // namespace testsupport

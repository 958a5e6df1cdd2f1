// The samples the build signs for the update tests (make_signed_samples.sh), and the updater's
// update server and vendor keys pointed at a test's own server and the samples' key.
#pragma once

#include <string>

namespace kesto::testing {

// The bytes of a sample file.
std::string Sample(const std::string& name);

// For its lifetime, the update server is `server` and the vendor's key is the samples' own.
class SampleVendor {
 public:
  explicit SampleVendor(const std::string& server);
  ~SampleVendor();
  SampleVendor(const SampleVendor&) = delete;
  SampleVendor& operator=(const SampleVendor&) = delete;
};

}  // namespace kesto::testing

#include "tests/update/sample_vendor.h"

#include <fstream>
#include <iterator>

#include "update/installed_state.h"
#include "update/vendor_key.h"

namespace kesto::testing {

std::string Sample(const std::string& name) {
  std::ifstream in(std::string(KESTO_SIGNED_SAMPLES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SampleVendor::SampleVendor(const std::string& server) {
  update::OverrideUpdateServer(server);
  const std::string key = Sample("vendor.pub.der");
  update::OverrideVendorKeys({{Bytes(key.begin(), key.end())}});
}

SampleVendor::~SampleVendor() {
  update::OverrideUpdateServer("");
  update::OverrideVendorKeys(std::nullopt);
}

}  // namespace kesto::testing

// Reads the payload appended to a setup program (the layout is described in setup_payload.h).
#include "core/setup_payload.h"

namespace vexbane {

// First step: the interface only. Nothing is found until the reader and its decoder follow.
PayloadStatus ReadSetupPayload(const unsigned char*, size_t, std::vector<PayloadFile>& files,
                               size_t& programPartSize) {
  files.clear();
  programPartSize = 0;
  return PayloadStatus::NotFound;
}

bool IsPayloadFileName(const std::string&) { return false; }

}  // namespace vexbane

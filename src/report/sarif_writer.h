#pragma once

#include <string>
#include <vector>

#include "report/check_record.h"
#include "report/json_writer.h"

namespace venuecheck {

// A SARIF 2.1.0 log of one run: every rule in the driver, one result per
// finding, located in its file (or its venue file) relative to the game
// folder, which the log names as the base "GAMEDIR".
std::string RenderSarifReport(const RunHeader& header, const std::vector<CheckResult>& checks);

// A relative path as a URI reference: each byte of the 8-bit text is the
// character of that value, and everything but unreserved characters and '/'
// is percent-encoded from its UTF-8 form.
std::string PathUri(std::string_view path);

// The file URI of an absolute folder, ending in '/'.
std::string FolderUri(std::string_view absolutePath);

}  // namespace venuecheck

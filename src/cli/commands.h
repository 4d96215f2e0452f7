#pragma once

#include <string>
#include <vector>

namespace quillmere::cli {

// `info FILE`: opens FILE as the editor opens a destination and describes it.
int RunInfo(const std::string& file, const std::vector<std::string>& answers);

// `convert IN OUT`: opens IN as the destination, saves it as OUT as
// "Save Destination As" does.
int RunConvert(const std::string& in, const std::string& out, bool saveFBJ,
               const std::vector<std::string>& answers);

}  // namespace quillmere::cli

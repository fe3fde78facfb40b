#pragma once
// The unified diff zornectl prints for a dry run, with the values of password and community keys
// masked so that a diff can be shown or kept without spreading secrets.

#include <optional>
#include <string>

namespace azu::ctl {

// `label` names the file in the --- and +++ lines; nullopt stands for no file. With
// `wholeFileSecret` every line's text is masked. Empty when the two are the same.
std::string UnifiedDiff(const std::string& label, const std::optional<std::string>& before,
                        const std::optional<std::string>& after, bool wholeFileSecret);

// `line` with the value of a secret key ("name=value" or "name:value") masked.
std::string MaskSecret(const std::string& line);

}  // namespace azu::ctl

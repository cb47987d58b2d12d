#include "cli/Options.h"

#include "core/Errors.h"
#include "core/Text.h"

#include <new>

namespace velnor::cli {

Options::Options(const std::vector<std::string>& args, const std::set<std::string>& valued,
                 const std::set<std::string>& flags)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string name = word.substr(2);
            std::optional<std::string> inlineValue;
            if (const auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
            if (valued.count(name)) {
                if (!inlineValue) {
                    if (i + 1 >= args.size())
                        throw InputError("Option --" + name + " needs a value");
                    inlineValue = args[++i];
                }
                values_[name] = *inlineValue;
            } else if (flags.count(name) && !inlineValue) {
                flags_.insert(name);
            } else {
                throw InputError("Unknown option: " + word);
            }
        } else {
            positional_.push_back(word);
        }
    }
}

std::optional<std::string> Options::value(const std::string& name) const
{
    const auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

bool ParseUnit(const Options& options)
{
    const std::string unit = options.value("unit").value_or("hm3");
    if (unit == "hm3")
        return false;
    if (unit == "m3")
        return true;
    throw InputError("The unit must be hm3 or m3, not \"" + unit + "\"");
}

void ApplyCodePage(const Options& options)
{
    if (const auto codePage = options.value("code-page"))
        SetExchangeCodePage(*codePage);
}

int ReportError(std::ostream& err, const std::exception& e)
{
    err << "velnor-cli: " << e.what() << '\n';
    if (dynamic_cast<const IoError*>(&e) || dynamic_cast<const std::bad_alloc*>(&e))
        return ExitIo;
    if (dynamic_cast<const VelnorError*>(&e))
        return ExitBadInput;
    return ExitIo;
}

} // namespace velnor::cli

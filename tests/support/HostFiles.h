#pragma once
// The exchange files the tests read in the host's own manner: our fixtures,
// always there, and the host's own files, which lie beside the project only
// on some machines.
#include <filesystem>
#include <optional>
#include <string>

namespace hostfiles {

inline std::string Fixture(const std::string& name) { return Q308_SOURCE_DIR "/tests/fixtures/" + name; }

// The host's own sample of that name, or nothing where it is absent.
inline std::optional<std::string> HostSample(const std::string& name)
{
    const std::string path = Q308_SOURCE_DIR "/../shared/samples/" + name;
    if (!std::filesystem::is_regular_file(path))
        return std::nullopt;
    return path;
}

inline constexpr const char* NoHostSamples =
    "the host's own sample files (../shared/samples) are not beside the project; only our host-format "
    "fixtures in tests/fixtures were read";

}  // namespace hostfiles

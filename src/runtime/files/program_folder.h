#pragma once
// The folder the program's own file lies in, found from the running program whatever folder it
// was started from; each system asks for it in a file of its own.
#include <filesystem>
#include <system_error>

std::filesystem::path program_folder(std::error_code& error);

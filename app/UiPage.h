// UiPage: the files of the page of tessel ui (app/ui), compiled into the program so that the
// server reads nothing from disk to serve them.
#pragma once

#include <string_view>

namespace UiPage {
// The file named `name` ("index.html"); empty when there is none.
std::string_view Find(std::string_view name);
}

// UiPage: the files of the page of tessel ui (app/ui), compiled into the program so that the
// server reads nothing from disk to serve them.
#pragma once

#include <string>
#include <string_view>

namespace UiPage {
// The file named `name` ("index.html"); empty when there is none.
std::string_view Find(std::string_view name);
// The file named `name` as the server sends it: for whoever works on the page, from the folder
// $TESSEL_UI_PAGE_DIR when it is set (the three names only), else the one compiled in.
std::string Load(std::string_view name);
}

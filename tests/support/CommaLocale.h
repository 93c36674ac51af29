#pragma once
// A locale whose decimal separator is a comma, for showing that numbers are read the same in it.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace vireon::testing {

// Finds a locale whose decimal separator is a comma, tries it, and restores the old one.
class CommaLocale {
public:
    CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
        std::vector<std::string> candidates = {"de_DE.UTF-8", "de_DE.utf8", "de_DE"};
        if (FILE* list = ::popen("locale -a 2>/dev/null", "r")) {
            char name[256];
            while (std::fgets(name, sizeof name, list)) {
                std::string n(name);
                while (!n.empty() && (n.back() == '\n' || n.back() == '\r')) n.pop_back();
                candidates.push_back(n);
            }
            ::pclose(list);
        }
        for (const auto& name : candidates) {
            if (std::setlocale(LC_ALL, name.c_str()) &&
                std::string(std::localeconv()->decimal_point) == ",") {
                name_ = name;
                return;
            }
        }
        std::setlocale(LC_ALL, saved_.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    const std::string& name() const { return name_; }

private:
    std::string saved_;
    std::string name_;
};

}  // namespace vireon::testing

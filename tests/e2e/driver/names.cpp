// Control and menu names, read off the enums in ids.h at compile time so the driver
// follows every change there without a table to keep up to date.
#include "driver.h"
#include "platform/ids.h"

#include <cwctype>
#include <string_view>
#include <utility>

namespace drive {

namespace {

// GCC spells the enumerator in the function signature ("[with auto V = Ctl::按钮_复制]"),
// in UTF-8 whatever -fexec-charset says.
template <auto V>
constexpr const char* signature() {
    return __PRETTY_FUNCTION__;
}

std::wstring enumeratorName(const char* sig) {
    std::string_view s(sig);
    size_t eq = s.rfind("= ");
    size_t end = s.rfind(']');
    if (eq == std::string_view::npos || end == std::string_view::npos || end < eq) return {};
    std::string_view full = s.substr(eq + 2, end - eq - 2);   // "Ctl::按钮_复制"
    size_t colons = full.rfind("::");
    if (colons == std::string_view::npos) return {};   // "(Ctl)57": not an enumerator
    return utf8ToWide(std::string(full.substr(colons + 2)));
}

template <typename E, size_t... I>
std::vector<std::wstring> namesOf(std::index_sequence<I...>) {
    return {enumeratorName(signature<static_cast<E>(I)>())...};
}

template <typename E>
const std::vector<std::wstring>& names() {
    static const std::vector<std::wstring> list =
        namesOf<E>(std::make_index_sequence<static_cast<size_t>(E::Count)>());
    return list;
}

bool startsWith(const std::wstring& s, const std::wstring& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

template <typename E>
std::optional<int> indexOf(const std::wstring& name) {
    const auto& list = names<E>();
    for (size_t i = 0; i < list.size(); ++i)
        if (!list[i].empty() && list[i] == name) return (int)i;
    return std::nullopt;
}

}  // namespace

std::optional<ControlRef> findControl(const std::wstring& raw) {
    if (auto n = parseInt(raw)) {
        int id = (int)*n;
        if (id >= kFirstProgressControlId && id < kFirstProgressControlId + (int)ProgressCtl::Count)
            return ControlRef{Parent::Progress, id, raw};
        if (id == kFirstControlId + (int)Ctl::图片框1) return ControlRef{Parent::Mini, id, raw};
        return ControlRef{Parent::Main, id, raw};
    }
    const std::wstring progressPrefix = L"ProgressCtl::";
    if (startsWith(raw, progressPrefix)) {
        std::wstring name = raw.substr(progressPrefix.size());
        if (auto i = indexOf<ProgressCtl>(name))
            return ControlRef{Parent::Progress, kFirstProgressControlId + *i, name};
        return std::nullopt;
    }
    std::wstring name = startsWith(raw, L"Ctl::") ? raw.substr(5) : raw;
    if (auto i = indexOf<Ctl>(name)) {
        Parent p = (*i == (int)Ctl::图片框1) ? Parent::Mini : Parent::Main;
        return ControlRef{p, kFirstControlId + *i, name};
    }
    return std::nullopt;
}

std::optional<int> findMenu(const std::wstring& raw) {
    if (auto n = parseInt(raw)) return (int)*n;
    std::wstring name = startsWith(raw, L"MenuItem::") ? raw.substr(10) : raw;
    if (auto i = indexOf<MenuItem>(name)) return kFirstMenuId + *i;
    return std::nullopt;
}

std::vector<std::wstring> controlNames() {
    std::vector<std::wstring> all = names<Ctl>();
    for (const auto& n : names<ProgressCtl>()) all.push_back(L"ProgressCtl::" + n);
    return all;
}

std::vector<std::wstring> menuNames() { return names<MenuItem>(); }

std::wstring windowClass(Parent p) {
    const char* cls = p == Parent::Main ? kMainWindowClass
                      : p == Parent::Mini ? kMiniWindowClass
                                          : kProgressWindowClass;
    return utf8ToWide(cls);   // ASCII class names
}

}  // namespace drive

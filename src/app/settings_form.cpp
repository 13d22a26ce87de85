#include "app/settings_form.h"

namespace cadenzio {
namespace {

std::string Replace(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t hit; (hit = text.find(from, start)) != std::string_view::npos;
       start = hit + from.size())
    out.append(text.substr(start, hit - start)).append(to);
  out.append(text.substr(start));
  return out;
}

// The header edit's view of a template: each CR LF is one line break.
std::string HeaderForEditing(std::string_view header) { return Replace(header, "\r\n", "\n"); }

}  // namespace

SettingsForm SettingsForm::FromSettings(const Settings& settings) {
  SettingsForm form;
  form.field(SettingsField::kMinInterval) = std::to_string(settings.min_interval);
  form.field(SettingsField::kMaxInterval) = std::to_string(settings.max_interval);
  form.field(SettingsField::kDelay) = std::to_string(settings.delay);
  form.field(SettingsField::kAddDel) = std::to_string(settings.add_del);
  form.field(SettingsField::kDelClear) = std::to_string(settings.del_clear);
  form.check_br = settings.check_br;
  form.insert_nl = settings.insert_nl;
  form.ting = settings.ting;
  form.header = HeaderForEditing(settings.header_template);
  return form;
}

std::string HeaderFromForm(std::string_view edited, const std::string& original) {
  if (edited == HeaderForEditing(original)) return original;
  return Replace(edited, "\n", "\r\n");
}

std::optional<SettingsRefusal> ApplySettingsForm(const SettingsForm& form, Settings& settings,
                                                 const std::string& settings_path) {
  Settings edited = settings;
  for (SettingsField field : kSettingsFieldOrder)
    if (auto refusal = ReadSettingsField(field, form.field(field), edited)) return refusal;
  edited.check_br = form.check_br;
  edited.insert_nl = form.insert_nl;
  edited.ting = form.ting;
  edited.header_template = HeaderFromForm(form.header, settings.header_template);
  settings = std::move(edited);
  settings.Save(settings_path);  // failures are not reported; the members keep the values
  return std::nullopt;
}

}  // namespace cadenzio

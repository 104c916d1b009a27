#include "app/qso_form.h"

#include <string>

#include "hosts/mixw.h"

namespace vav {

void QsoForm::set_link_items() {
  const std::string topic = std::string(mixw::kDdeService) + "|" + mixw::kQsoTopic;
  for (const QsoField& field : kQsoFields) {
    LinkedText& control = this->*field.control;
    control.set_link_topic(topic);
    control.set_link_item(field.item);
  }
}

void QsoForm::link_all(const std::function<void(const LinkedText&)>& linked) {
  for (const QsoField& field : kQsoFields) {
    LinkedText& control = this->*field.control;
    control.set_link_mode(LinkMode::automatic);
    if (linked) linked(control);
  }
}

void QsoForm::clear() {
  Callsign.set_text("");
  for (const QsoField& field : kQsoFields) {
    if (field.cleared) (this->*field.control).set_text("");
  }
  Prefix.set_text("");
}

void QsoForm::fill(QsoLogFields& fields) const {
  for (const QsoField& field : kQsoFields) {
    if (field.logged != nullptr) fields.*field.logged = (this->*field.control).text();
  }
  fields.Prefix = Prefix.text();
}

bool QsoForm::has_callsign() const {
  return Callsign.text().find_first_not_of(' ') != std::string::npos;
}

}  // namespace vav

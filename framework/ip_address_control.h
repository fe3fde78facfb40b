#pragma once
// The IPv4 address control: four octet fields of up to three digits (0-255) separated by dots.
// Its text is always the strict dotted form ("10.0.0.5"), blank fields reading as 0.

#include <QFrame>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class QLineEdit;

namespace azu {

class IpAddressControl final : public QFrame {
  Q_OBJECT

 public:
  explicit IpAddressControl(QWidget* parent = nullptr);

  void SetAddress(std::uint32_t address);       // first octet in the highest byte
  [[nodiscard]] std::uint32_t Address() const;  // blank fields count as 0
  [[nodiscard]] std::string Text() const;
  // Takes only strict dotted text; anything else leaves the control unchanged and gives false.
  bool SetText(std::string_view text);
  void Clear();
  [[nodiscard]] bool IsBlank() const;
  // The name a screen reader gives the control and each of its octet fields.
  void SetAccessibleName(const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnEdited(int field);
  [[nodiscard]] unsigned FieldValue(int field) const;

  std::array<QLineEdit*, 4> fields_{};
};

}  // namespace azu

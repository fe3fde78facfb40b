#pragma once
// The Qt widget of the IPv4 address control: four octet fields of up to three digits (0-255)
// separated by dots.

#include <QFrame>
#include <array>
#include <cstdint>

class QLineEdit;

namespace azu {

class IpAddressWidget final : public QFrame {
  Q_OBJECT

 public:
  explicit IpAddressWidget(QWidget* parent = nullptr);

  void SetAddress(std::uint32_t address);       // first octet in the highest byte
  [[nodiscard]] std::uint32_t Address() const;  // blank fields count as 0
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

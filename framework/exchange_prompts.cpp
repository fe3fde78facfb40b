#include "framework/exchange_prompts.h"

#include <array>

#include "app/cp1252.h"

namespace azu {
namespace {

struct Prompts {
  std::string_view language;
  std::string_view notNumber;  // UTF-8
  std::string_view range;      // UTF-8; "{min}" and "{max}" are filled in
};

constexpr std::array<Prompts, 7> kPrompts{{
    {"en", "Please enter a whole number (digits only).",
     "Please enter a whole number between {min} and {max}."},
    {"fr", "Veuillez entrer un nombre entier (chiffres uniquement).",
     "Veuillez entrer un nombre entier compris entre {min} et {max}."},
    {"it", "Immettere un numero intero (solo cifre).",
     "Immettere un numero intero compreso tra {min} e {max}."},
    {"de", "Bitte geben Sie eine ganze Zahl ein (nur Ziffern).",
     "Bitte geben Sie eine ganze Zahl zwischen {min} und {max} ein."},
    {"es", "Escriba un número entero (solo dígitos).",
     "Escriba un número entero entre {min} y {max}."},
    {"pt", "Digite um número inteiro (somente dígitos).",
     "Digite um número inteiro entre {min} e {max}."},
    {"nl", "Voer een geheel getal in (alleen cijfers).",
     "Voer een geheel getal tussen {min} en {max} in."},
}};

const Prompts& PromptsFor(std::string_view language) {
  for (const Prompts& prompts : kPrompts) {
    if (prompts.language == language) return prompts;
  }
  return kPrompts[0];
}

std::string Replace(std::string text, std::string_view marker, const std::string& value) {
  const auto pos = text.find(marker);
  if (pos != std::string::npos) text.replace(pos, marker.size(), value);
  return text;
}

}  // namespace

std::string NotANumberPrompt(std::string_view language) {
  return Utf8ToCp1252(PromptsFor(language).notNumber).value_or(std::string());
}

std::string NumberRangePrompt(std::string_view language, unsigned min, unsigned max) {
  std::string text(PromptsFor(language).range);
  text = Replace(text, "{min}", std::to_string(min));
  text = Replace(text, "{max}", std::to_string(max));
  return Utf8ToCp1252(text).value_or(std::string());
}

}  // namespace azu

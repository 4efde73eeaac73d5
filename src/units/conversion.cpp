#include "units/conversion.h"

#include <cmath>
#include <cstddef>

#include "core/number.h"

namespace {

// Two factors this close count as equal, whatever their ratio.
constexpr double kEqualFactors = 1e-7;

const Text* Factor(const UnitTable& table, int selection) {
  if (selection < 0 || static_cast<std::size_t>(selection) >= table.factors.size()) return nullptr;
  return &table.factors[static_cast<std::size_t>(selection)];
}

}  // namespace

ConversionTexts ConvertUnits(const std::vector<UnitTable>& tables, int typeSelection,
                             int inputSelection, int outputSelection, std::string_view inputText,
                             std::string_view inputUnitName, std::string_view outputUnitName) {
  ConversionTexts shown;
  if (inputSelection < 0 || outputSelection < 0) return shown;
  if (typeSelection < 0 || static_cast<std::size_t>(typeSelection) >= tables.size()) return shown;
  const UnitTable& table = tables[static_cast<std::size_t>(typeSelection)];
  // A malformed unit line can leave a listed unit without a factor.
  const Text* inFactorText = Factor(table, inputSelection);
  const Text* outFactorText = Factor(table, outputSelection);
  if (inFactorText == nullptr || outFactorText == nullptr) return shown;
  const double fin = TextToNumber(*inFactorText);
  const double fout = TextToNumber(*outFactorText);

  const bool hasInput = !inputText.empty();
  if (hasInput) {
    const double product = TextToNumber(inputText) * fin;
    shown.output = NumberToText(product / fout);
  }

  // The whole-and-rest split works on the texts as shown (13 significant
  // digits), read back as numbers, not on the unrounded values.
  auto split = [&](double amount, double rate, std::string_view larger, std::string_view smaller) {
    // A zero factor beside a negative one makes the rate read back as 0.
    if (rate == 0 || !std::isfinite(rate)) return Text();
    return ConcatText({NumberToText(IntegerDivide(amount, rate)), larger,
                       NumberToText(Remainder(amount, rate)), smaller});
  };

  const double difference = fin - fout;
  if (difference > kEqualFactors) {
    shown.rate = NumberToText(fin / fout);
    if (hasInput)
      shown.fullOutput = split(TextToNumber(shown.output), TextToNumber(shown.rate), inputUnitName,
                               outputUnitName);
  } else if (difference < -kEqualFactors) {
    shown.rate = NumberToText(fout / fin);
    if (hasInput)
      shown.fullOutput = split(TextToNumber(inputText), TextToNumber(shown.rate), outputUnitName,
                               inputUnitName);
  } else {
    if (hasInput) shown.fullOutput = ConcatText({shown.output, inputUnitName});
    shown.rate = NumberToText(fout / fin);
  }
  return shown;
}

std::optional<int> NumberInputAnswer(int character, std::string_view currentText) {
  if (character == '.' && FindText(currentText, ".") != -1) return 0;
  if (character == '-' && TextLength(currentText) > 0) return 0;
  return std::nullopt;
}

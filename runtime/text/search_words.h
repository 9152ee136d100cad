#pragma once
// Words as the word search finds them: runs of letters and digits (any character beyond
// ASCII counts as a letter, so "Dios está aquí" is three words and "主耶穌我愛祢" one), compared
// in capitals with the accents of Latin letters taken off. The file's word index splits and
// folds the same way, so a search gives the same records with or without it.
#include <string>
#include <string_view>
#include <vector>

namespace vrt {

// The folded words of `text`, in order.
std::vector<std::string> searchWords(std::string_view text);

// Whether every word of `wanted` starts a word of one of `texts` (an empty `wanted` matches).
bool wordsMatch(std::string_view wanted, const std::vector<std::string>& texts);

// The filter expression that keeps the records whose `fields` (labels) hold the words of
// `typed`, as above: MATCHWORDS('typed', F1, F2...). Empty when `typed` has no word.
std::string matchWordsFilter(std::string_view typed, const std::vector<std::string>& fields);

}  // namespace vrt

#pragma once

#include <QString>

// Sentences of prose, as the import cuts a paragraph down to the line a
// slide shows.
namespace Sentences {

// The paragraph's first sentence, without the space after it: where the
// text's own sentence breaks say, except after an abbreviation that ends in
// a full stop ("Dr.", "z. B.", "Mio.", an initial): the sentence goes on
// across those. The whole paragraph when it is one sentence.
QString first(const QString& paragraph);

}  // namespace Sentences

#include "base/gap_vector.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/row_string.h"

namespace weft {
namespace {

// Random changes, clustered as an editor's are and sometimes far apart,
// against std::vector; the elements own heap blocks, so a slot moved onto
// itself or an erased slot left holding its block shows as a wrong element
// or a leak.
TEST(GapVectorTest, AgreesWithAVector) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    TGapVector<TRowString> gapped;
    std::vector<std::string> model;
    size_t place = 0;
    for (int step = 0; step < 200; ++step) {
      const std::string text = std::to_string(trial * 1000 + step) + std::string(random() % 40, 'x');
      if (random() % 8 == 0) place = random() % (model.size() + 1);
      place = std::min(place, model.size());
      switch (random() % 8) {
        case 0: gapped.push_back(TRowString(text)); model.push_back(text); break;
        case 1: case 2: case 3:
          gapped.insert(place, TRowString(text));
          model.insert(model.begin() + static_cast<long>(place++), text);
          break;
        case 4: {
          const size_t count = random() % 3;
          gapped.insert(place, count);
          model.insert(model.begin() + static_cast<long>(place), count, "");
          break;
        }
        case 5: case 6: {
          const size_t count = std::min<size_t>(random() % 3, model.size() - place);
          gapped.erase(place, count);
          model.erase(model.begin() + static_cast<long>(place), model.begin() + static_cast<long>(place + count));
          break;
        }
        default:
          if (random() % 4 == 0) {
            const size_t count = random() % (model.size() + 5);
            gapped.resize(count);
            model.resize(count);
          } else if (place < model.size()) {
            gapped[place] = TRowString(text);
            model[place] = text;
          }
      }
      ASSERT_EQ(gapped.size(), model.size());
      const TSplitSpan<const TRowString> view = gapped.view();
      ASSERT_EQ(view.first().size() + view.second().size(), model.size());
      for (size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(gapped[i].view(), model[i]) << "trial " << trial << " step " << step << " element " << i;
        ASSERT_EQ(&view[i], &gapped[i]);
      }
    }
  }
}

}  // namespace
}  // namespace weft

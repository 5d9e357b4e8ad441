// The theme list, built once.
#include <Ostrevan/Themes.hpp>

namespace ostrevan::Themes {

const std::vector<Theme>& cycle() {
    static const std::vector<Theme> themes{cream, sage,  navy,     terracotta, teal, plum,
                                           brick, slate, mustard,  rose,       forest, charcoal,
                                           sand,  ocean, wine,     ivory};
    return themes;
}

}  // namespace ostrevan::Themes

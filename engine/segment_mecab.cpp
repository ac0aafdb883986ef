#include "engine/segment_mecab.h"

#include <mecab.h>

#include <new>
#include <string_view>

// The entry points of the library, bound by name when it is loaded; the
// declarations of mecab.h give their types.
struct MecabApi {
    decltype(&mecab_model_new) modelNew;
    decltype(&mecab_model_destroy) modelDestroy;
    decltype(&mecab_model_dictionary_info) dictionaryInfo;
    decltype(&mecab_model_new_tagger) newTagger;
    decltype(&mecab_model_new_lattice) newLattice;
    decltype(&mecab_destroy) destroyTagger;
    decltype(&mecab_lattice_destroy) destroyLattice;
    decltype(&mecab_lattice_set_sentence2) setSentence;
    decltype(&mecab_parse_lattice) parse;
    decltype(&mecab_lattice_get_bos_node) firstNode;
    decltype(&mecab_strerror) error;
};

namespace {

constexpr const char* kInstall = ". Install the Debian packages libmecab2 and mecab-ipadic-utf8.";

template <typename Fn> bool Bind(CSharedLibrary& library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(library.Symbol(name));
    return fn != nullptr;
}

bool BindAll(CSharedLibrary& library, MecabApi& api) {
    return Bind(library, "mecab_model_new", api.modelNew) &&
           Bind(library, "mecab_model_destroy", api.modelDestroy) &&
           Bind(library, "mecab_model_dictionary_info", api.dictionaryInfo) &&
           Bind(library, "mecab_model_new_tagger", api.newTagger) &&
           Bind(library, "mecab_model_new_lattice", api.newLattice) &&
           Bind(library, "mecab_destroy", api.destroyTagger) &&
           Bind(library, "mecab_lattice_destroy", api.destroyLattice) &&
           Bind(library, "mecab_lattice_set_sentence2", api.setSentence) &&
           Bind(library, "mecab_parse_lattice", api.parse) &&
           Bind(library, "mecab_lattice_get_bos_node", api.firstNode) &&
           Bind(library, "mecab_strerror", api.error);
}

// The fields of a node's feature text are separated by commas; the part of
// speech comes first and the base form seventh ("*" where there is none).
constexpr std::string_view kSymbol = "\xE8\xA8\x98\xE5\x8F\xB7"; // 記号
constexpr int kBaseFormField = 6;

bool IsSymbol(std::string_view feature) {
    return feature.starts_with(kSymbol) &&
           (feature.size() == kSymbol.size() || feature[kSymbol.size()] == ',');
}

std::string_view BaseForm(std::string_view feature) {
    for (int i = 0; i < kBaseFormField; ++i) {
        const std::size_t comma = feature.find(',');
        if (comma == std::string_view::npos)
            return {};
        feature.remove_prefix(comma + 1);
    }
    feature = feature.substr(0, feature.find(','));
    return feature == "*" ? std::string_view{} : feature;
}

bool IsUtf8Name(std::string_view charset) {
    return charset == "utf-8" || charset == "UTF-8" || charset == "utf8" || charset == "UTF8";
}

} // namespace

CMecabModel::CMecabModel() = default;

CMecabModel::~CMecabModel() {
    if (m_pModel)
        m_pApi->modelDestroy(m_pModel);
}

bool CMecabModel::Fail(const char* what, const std::string& where, const std::string& reason) {
    m_strError = std::string("Japanese words by dictionary need ") + what + where +
                 ", which could not be loaded (" + reason + ")" + kInstall;
    return false;
}

bool CMecabModel::Open(const MecabPlace& place) {
    if (!m_library.Open(place.strLibrary.c_str()))
        return Fail("the MeCab library ", place.strLibrary, m_library.Error());
    m_pApi = std::make_unique<MecabApi>();
    if (!BindAll(m_library, *m_pApi))
        return Fail("the MeCab library ", place.strLibrary, m_library.Error());
    // The dictionary's own settings stand in for MeCab's system-wide ones, so
    // that nothing but the dictionary itself decides how text is split.
    std::string rc = place.strDictionary + "/dicrc";
    std::string dic = place.strDictionary;
    char argv0[] = "vorlan", r[] = "-r", d[] = "-d";
    char* argv[] = {argv0, r, rc.data(), d, dic.data(), nullptr};
    m_pModel = m_pApi->modelNew(5, argv);
    if (!m_pModel)
        return Fail("MeCab's IPA dictionary in UTF-8 at ", place.strDictionary,
                    m_pApi->error(nullptr));
    if (!CheckCharset())
        return Fail("MeCab's IPA dictionary in UTF-8 at ", place.strDictionary,
                    "it is not in UTF-8");
    return true;
}

bool CMecabModel::CheckCharset() {
    for (const mecab_dictionary_info_t* info = m_pApi->dictionaryInfo(m_pModel); info;
         info = info->next) {
        if (info->type == MECAB_SYS_DIC && info->charset && IsUtf8Name(info->charset))
            return true;
    }
    return false;
}

CMecabTagger::CMecabTagger(const CMecabModel& model)
    : m_api(*model.m_pApi), m_pTagger(m_api.newTagger(model.m_pModel)),
      m_pLattice(m_api.newLattice(model.m_pModel)) {
    if (!m_pTagger || !m_pLattice) {
        Release();
        throw std::bad_alloc();
    }
}

CMecabTagger::~CMecabTagger() {
    Release();
}

void CMecabTagger::Release() {
    if (m_pLattice)
        m_api.destroyLattice(m_pLattice);
    if (m_pTagger)
        m_api.destroyTagger(m_pTagger);
}

bool CMecabTagger::Split(std::string_view text, bool baseForms, std::vector<MecabWord>& words) {
    words.clear();
    m_api.setSentence(m_pLattice, text.data(), text.size());
    if (!m_api.parse(m_pTagger, m_pLattice))
        return false;
    for (const mecab_node_t* node = m_api.firstNode(m_pLattice); node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        const std::string_view feature = node->feature ? node->feature : "";
        if (IsSymbol(feature) || node->length == 0)
            continue;
        const std::string_view surface(node->surface, node->length);
        const std::string_view base = baseForms ? BaseForm(feature) : std::string_view{};
        words.push_back({base.empty() ? surface : base, surface});
    }
    return true;
}

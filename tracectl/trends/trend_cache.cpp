#include "trend_cache.h"

#include "atomic_file.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <type_traits>

#include <sys/stat.h>

namespace viewer::trends {

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[8] = {'V', 'W', 'T', 'R', 'E', 'N', 'D', 'S'};
// Raised whenever the computation or the layout of the file changes.
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderHashBytes = 65536;

uint64_t fnv1a(const void* data, size_t n, uint64_t h = 14695981039346656037ull) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) {
        h = (h ^ p[i]) * 1099511628211ull;
    }
    return h;
}

std::string montageText(const TrendMontage& m) {
    std::ostringstream out;
    out << m.name << '\n';
    if (const auto* def = std::get_if<MontageDefinition>(&m.lines)) {
        for (const MontageLine& l : def->lines) {
            out << l.label << (l.inverted ? " inverted" : "") << (l.hidden ? " hidden" : "");
            for (const MontageTerm& t : l.terms) {
                out << ' ' << t.electrode << '*' << t.weight;
            }
            out << '\n';
        }
    } else {
        const MontageRecord& r = std::get<MontageRecord>(m.lines);
        out << "recorded " << r.numLines << " ref " << int{r.refMode} << '\n';
        for (int i = 0; i < r.numLines && i < kMaxLines; ++i) {
            out << r.inputA[static_cast<size_t>(i)] << '-' << r.inputB[static_cast<size_t>(i)]
                << '\n';
        }
    }
    return out.str();
}

class Writer {
public:
    template <typename T> void put(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    void text(const std::string& s) {
        put(static_cast<uint32_t>(s.size()));
        bytes += s;
    }
    template <typename T> void values(const std::vector<T>& v) {
        bytes.append(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T));
    }
    std::string bytes;
};

class Reader {
public:
    explicit Reader(std::string_view b) : bytes_(b) {}
    template <typename T> bool get(T& v) {
        if (bytes_.size() - at_ < sizeof v) {
            return false;
        }
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return true;
    }
    bool text(std::string& s) {
        uint32_t n = 0;
        if (!get(n) || bytes_.size() - at_ < n) {
            return false;
        }
        s.assign(bytes_.substr(at_, n));
        at_ += n;
        return true;
    }
    // Fills `v` (already sized) from the next bytes.
    template <typename T> bool values(std::vector<T>& v) {
        const size_t n = v.size() * sizeof(T);
        if (bytes_.size() - at_ < n) {
            return false;
        }
        std::memcpy(v.data(), bytes_.data() + at_, n);
        at_ += n;
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

bool readBody(Reader& in, TrendData& d) {
    uint32_t segments = 0;
    uint32_t lines = 0;
    if (!in.get(d.segmentSeconds) || !in.get(d.rate) || !in.get(d.frames) || !in.get(segments) ||
        !in.text(d.montage) || !in.get(lines) || lines > kMaxLines ||
        segments > 100'000'000u / std::max<uint32_t>(lines, 1)) {
        return false;
    }
    std::vector<std::string> labels(lines);
    std::vector<bool> present(lines);
    for (uint32_t i = 0; i < lines; ++i) {
        uint8_t p = 0;
        if (!in.text(labels[i]) || !in.get(p)) {
            return false;
        }
        present[i] = p != 0;
    }
    d.segments = static_cast<int>(segments);
    d.layout = layoutOf(labels, present);
    d.allocate();
    return in.values(d.cdsa) && in.values(d.lower) && in.values(d.upper) &&
           in.values(d.suppression) && in.values(d.power) && in.values(d.done);
}

} // namespace

std::string cacheKey(const std::string& path, const TrendMontage& montage, double segmentSeconds) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    struct stat st {};
    if (ec || ::stat(path.c_str(), &st) != 0) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    std::string head(kHeaderHashBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    std::ostringstream key;
    key << "trends " << kVersion << '\n'
        << absolute.string() << '\n'
        << st.st_size << ' ' << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec << '\n'
        << std::hex << fnv1a(head.data(), head.size()) << std::dec << '\n'
        << "segment " << segmentSeconds << '\n'
        << montageText(montage);
    return key.str();
}

std::string cachePath(const std::string& folder, const std::string& key) {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.trends",
                  static_cast<unsigned long long>(fnv1a(key.data(), key.size())));
    return (fs::path(folder) / name).string();
}

std::string writeCache(const std::string& folder, const std::string& key, const TrendData& d) {
    Writer out;
    out.bytes.append(kMagic, sizeof kMagic);
    out.put(kVersion);
    out.text(key);
    out.put(d.segmentSeconds);
    out.put(d.rate);
    out.put(d.frames);
    out.put(static_cast<uint32_t>(d.segments));
    out.text(d.montage);
    out.put(static_cast<uint32_t>(d.lines()));
    for (int i = 0; i < d.lines(); ++i) {
        out.text(d.layout.labels[static_cast<size_t>(i)]);
        out.put(static_cast<uint8_t>(d.layout.present[static_cast<size_t>(i)] ? 1 : 0));
    }
    out.values(d.cdsa);
    out.values(d.lower);
    out.values(d.upper);
    out.values(d.suppression);
    out.values(d.power);
    out.values(d.done);
    out.put(fnv1a(out.bytes.data(), out.bytes.size()));
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        return "cannot create " + folder + ": " + ec.message();
    }
    return events::writeFileAtomically(cachePath(folder, key), out.bytes);
}

std::optional<TrendData> readCache(const std::string& folder, const std::string& key) {
    const events::FileText file = events::readWholeFile(cachePath(folder, key));
    const std::string& b = file.text;
    uint64_t sum = 0;
    if (!file.read || b.size() < sizeof kMagic + sizeof sum ||
        std::memcmp(b.data(), kMagic, sizeof kMagic) != 0) {
        return std::nullopt;
    }
    std::memcpy(&sum, b.data() + b.size() - sizeof sum, sizeof sum);
    if (fnv1a(b.data(), b.size() - sizeof sum) != sum) {
        return std::nullopt;
    }
    Reader in(std::string_view(b).substr(sizeof kMagic, b.size() - sizeof kMagic - sizeof sum));
    uint32_t version = 0;
    std::string storedKey;
    TrendData d;
    if (!in.get(version) || version != kVersion || !in.text(storedKey) || storedKey != key ||
        !readBody(in, d) || !in.atEnd()) {
        return std::nullopt;
    }
    return d;
}

} // namespace viewer::trends

#include "edf_header.h"

#include "edf_signal_kinds.h"

#include <edflib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace viewer {

namespace {

constexpr int64_t kFixedHeader = 256;
constexpr int kMaxDrawnSignals = 256;

// The reason edflib gave for refusing a file, in words.
std::string edflibRefusal(int code) {
    switch (code) {
    case EDFLIB_MALLOC_ERROR:
        return "there was not enough memory to read its header";
    case EDFLIB_NO_SUCH_FILE_OR_DIRECTORY:
        return "it cannot be opened";
    case EDFLIB_FILE_CONTAINS_FORMAT_ERRORS:
        return "its header does not follow the EDF rules (a field holds a value the format does "
               "not allow, or the file's size does not match its data records)";
    case EDFLIB_MAXFILES_REACHED:
        return "too many EDF files are open at once";
    case EDFLIB_FILE_READ_ERROR:
        return "it could not be read";
    case EDFLIB_FILE_ALREADY_OPENED:
        return "it is open in this program already";
    case EDFLIB_FILETYPE_ERROR:
        return "it is not an EDF or BDF file";
    case EDFLIB_NUMBER_OF_SIGNALS_INVALID:
        return "its number of signals is 0 or more than 640";
    case EDFLIB_FILE_IS_DISCONTINUOUS:
        return "it is discontinuous in a way that cannot be read";
    default:
        return "the EDF library refused it (code " + std::to_string(code) + ")";
    }
}

std::string trimmed(const char* field, size_t width) {
    std::string s(field, strnlen(field, width));
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) {
        s.pop_back();
    }
    return s;
}

int64_t number(std::string_view field) {
    while (!field.empty() && field.back() == ' ') {
        field.remove_suffix(1);
    }
    int64_t v = -1;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), v);
    return r.ec == std::errc{} && r.ptr == field.data() + field.size() ? v : -1;
}

// A memory file holding the header and first data record of a discontinuous file, marked
// continuous and as long as the file (the rest a hole), so that edflib checks every field
// but the one that tells the two kinds apart. Closed by the destructor.
class ContinuousImage {
public:
    ContinuousImage(const TraceFile& file, int64_t headerBytes, int64_t recordBytes) {
        fd_ = memfd_create("edf-header", MFD_CLOEXEC);
        const int64_t bytes = std::min(headerBytes + recordBytes, file.size());
        if (fd_ < 0 || bytes < kFixedHeader) {
            return;
        }
        std::vector<char> head(static_cast<size_t>(bytes));
        file.readAt(0, head.data(), head.size());
        head[196] = 'C'; // "EDF+D" / "BDF+D" becomes "...+C"
        ok_ = ::pwrite(fd_, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
              ::ftruncate(fd_, file.size()) == 0;
    }
    ~ContinuousImage() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ContinuousImage(const ContinuousImage&) = delete;
    ContinuousImage& operator=(const ContinuousImage&) = delete;
    std::string path() const { return ok_ ? "/proc/self/fd/" + std::to_string(fd_) : ""; }

private:
    int fd_ = -1;
    bool ok_ = false;
};

// The places of every signal of the file in a data record, from the signal table (labels
// and samples per record); annotation signals go to `annotations`, the others, in order,
// get their offsets in `signals`. False when the table does not read as edflib read it.
bool readRecordLayout(const TraceFile& file, int fileSignals, EdfLayout& layout) {
    std::vector<char> table(static_cast<size_t>(fileSignals) * 256);
    if (file.readAt(kFixedHeader, table.data(), table.size()) != table.size()) {
        return false;
    }
    const std::string_view annotationLabel = layout.bdf ? "BDF Annotations " : "EDF Annotations ";
    size_t drawn = 0;
    int64_t offset = 0;
    for (int i = 0; i < fileSignals; ++i) {
        const std::string_view label(table.data() + 16 * i, 16);
        const int64_t samples =
            number(std::string_view(table.data() + 216 * fileSignals + 8 * i, 8));
        if (samples <= 0) {
            return false;
        }
        const int64_t bytes = samples * layout.bytesPerSample;
        if (layout.plus && label == annotationLabel) {
            layout.annotations.push_back({offset, static_cast<int32_t>(bytes)});
        } else if (drawn < layout.drawnSignals.size()) {
            layout.drawnSignals[drawn++].offsetInRecord = offset;
        } else {
            return false;
        }
        offset += bytes;
    }
    layout.recordBytes = offset;
    return drawn == layout.drawnSignals.size();
}

// Bytes of one data record by the signal table's samples per record; 0 when a count is not a
// positive number.
int64_t rawRecordBytes(const TraceFile& file, int64_t fileSignals, int bytesPerSample) {
    std::vector<char> counts(static_cast<size_t>(fileSignals) * 8);
    if (file.readAt(kFixedHeader + 216 * fileSignals, counts.data(), counts.size()) !=
        counts.size()) {
        return 0;
    }
    int64_t bytes = 0;
    for (int64_t i = 0; i < fileSignals; ++i) {
        const int64_t samples = number(std::string_view(counts.data() + 8 * i, 8));
        if (samples <= 0 || samples > (int64_t{1} << 24)) {
            return 0;
        }
        bytes += samples * bytesPerSample;
    }
    return bytes;
}

void copySignals(const edf_hdr_struct& h, EdfLayout& layout) {
    layout.drawnSignals.resize(static_cast<size_t>(h.edfsignals));
    for (int i = 0; i < h.edfsignals; ++i) {
        const edf_param_struct& p = h.signalparam[i];
        EdfSignal& s = layout.drawnSignals[static_cast<size_t>(i)];
        s.label = trimmed(p.label, sizeof p.label);
        s.dimension = trimmed(p.physdimension, sizeof p.physdimension);
        s.physicalMin = p.phys_min;
        s.physicalMax = p.phys_max;
        s.digitalMin = p.dig_min;
        s.digitalMax = p.dig_max;
        s.samplesPerRecord = p.smp_in_datarecord;
    }
}

void copyPatientAndStart(const edf_hdr_struct& h, EdfHeader& out) {
    std::string patient = out.layout.plus ? trimmed(h.patient_name, sizeof h.patient_name)
                                          : trimmed(h.patient, sizeof h.patient);
    std::replace(patient.begin(), patient.end(), '_', ' ');
    out.patient = patient;
    if (out.layout.plus) {
        out.birthDay = h.birthdate_day;
        out.birthMonth = h.birthdate_month;
        out.birthYear = h.birthdate_year;
    }
    out.startDay = h.startdate_day;
    out.startMonth = h.startdate_month;
    out.startYear = h.startdate_year;
    out.startHour = h.starttime_hour;
    out.startMinute = h.starttime_minute;
    out.startSecond = h.starttime_second;
}

// The frames drawn per record: the samples per record of the fastest EEG signal (of the
// fastest signal when none is EEG); and the whole frames per second that gives.
std::string chooseFrameRate(EdfLayout& layout) {
    int32_t fastestEeg = 0;
    int32_t fastest = 0;
    for (const EdfSignal& s : layout.drawnSignals) {
        fastest = std::max(fastest, s.samplesPerRecord);
        if (isEegSignal(s)) {
            fastestEeg = std::max(fastestEeg, s.samplesPerRecord);
        }
    }
    layout.framesPerRecord = fastestEeg > 0 ? fastestEeg : fastest;
    if (!(layout.recordSeconds > 0)) {
        return "its data records last 0 seconds";
    }
    const double rate = std::round(layout.framesPerSecond());
    if (rate < 1) {
        return "its fastest signal has fewer than one sample per second";
    }
    if (rate > 65535) {
        return "its fastest signal has more than 65535 samples per second";
    }
    return {};
}

} // namespace

bool hasEdfSignature(const TraceFile& file) {
    char head[8] = {};
    if (file.readAt(0, head, sizeof head) != sizeof head) {
        return false;
    }
    const std::string_view s(head, sizeof head);
    return s == "0       " || s == "\xff"
                                   "BIOSEMI";
}

std::string readEdfHeader(const std::string& path, const TraceFile& file, EdfHeader& out) {
    char fixed[kFixedHeader] = {};
    if (file.readAt(0, fixed, sizeof fixed) != sizeof fixed) {
        return "it is shorter than an EDF header";
    }
    EdfLayout& layout = out.layout;
    const std::string_view reserved(fixed + 192, 5);
    layout.bdf = static_cast<unsigned char>(fixed[0]) == 0xFF;
    layout.bytesPerSample = layout.bdf ? 3 : 2;
    layout.plus =
        reserved == "EDF+C" || reserved == "EDF+D" || reserved == "BDF+C" || reserved == "BDF+D";
    layout.discontinuous = reserved == "EDF+D" || reserved == "BDF+D";
    const int64_t fileSignals = number(std::string_view(fixed + 252, 4));
    const int64_t headerBytes = number(std::string_view(fixed + 184, 8));
    if (fileSignals <= 0 || fileSignals > EDFLIB_MAXSIGNALS ||
        headerBytes != kFixedHeader * (fileSignals + 1)) {
        return "its header does not follow the EDF rules (the number of signals or the header's "
               "size is wrong)";
    }
    auto h = std::make_unique<edf_hdr_struct>();
    std::string opened = path;
    std::unique_ptr<ContinuousImage> image;
    if (layout.discontinuous) {
        // edflib reads continuous files only; it checks the rest of a discontinuous one's
        // header in a copy marked continuous.
        const int64_t recordBytes = rawRecordBytes(file, fileSignals, layout.bytesPerSample);
        image = std::make_unique<ContinuousImage>(file, headerBytes,
                                                  std::min(recordBytes, int64_t{15} << 20));
        opened = image->path();
    }
    if (edfopen_file_readonly(opened.c_str(), h.get(), EDFLIB_DO_NOT_READ_ANNOTATIONS) != 0) {
        return edflibRefusal(h->filetype);
    }
    edfclose_file(h->handle);
    copySignals(*h, layout);
    copyPatientAndStart(*h, out);
    layout.headerBytes = headerBytes;
    layout.records = h->datarecords_in_file;
    layout.recordSeconds = static_cast<double>(h->datarecord_duration) / EDFLIB_TIME_DIMENSION;
    if (layout.drawnSignals.empty()) {
        return "it holds only annotations, no signal to draw";
    }
    if (layout.drawnSignals.size() > kMaxDrawnSignals) {
        return "it has " + std::to_string(layout.drawnSignals.size()) +
               " signals; at most 256 can be shown";
    }
    if (!readRecordLayout(file, static_cast<int>(fileSignals), layout)) {
        return "its signal table does not read as the EDF library read it";
    }
    return chooseFrameRate(layout);
}

} // namespace viewer

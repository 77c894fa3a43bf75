#include "data/PackWriter.h"

#include "data/Zip.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <zip.h>

namespace packwriter {

bool write(const std::string& path, const std::vector<Member>& members, std::string& error)
{
    const std::string tmp = path + ".part";
    std::remove(tmp.c_str());
    int err = 0;
    zip_t* z = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) {
        error = "cannot create " + tmp;
        return false;
    }
    for (const Member& m : members) {
        void* copy = std::malloc(m.bytes.empty() ? 1 : m.bytes.size());
        if (!copy) {
            zip_discard(z);
            error = "out of memory";
            return false;
        }
        if (!m.bytes.empty()) std::memcpy(copy, m.bytes.data(), m.bytes.size());
        zip_source_t* zs = zip_source_buffer(z, copy, m.bytes.size(), 1);
        const zip_int64_t idx = zs ? zip_file_add(z, m.path.c_str(), zs, ZIP_FL_ENC_RAW) : -1;
        if (idx < 0) {
            if (zs) zip_source_free(zs);
            else std::free(copy);
            zip_discard(z);
            std::remove(tmp.c_str());
            error = "cannot add " + m.path;
            return false;
        }
        // 1 January 1980 and fixed attributes: a rebuild gives the same bytes.
        zip_file_set_dostime(z, zip_uint64_t(idx), 0, (0 << 9) | (1 << 5) | 1, 0);
        zip_file_set_external_attributes(z, zip_uint64_t(idx), 0, ZIP_OPSYS_UNIX, zip_uint32_t(0100644) << 16);
        zip_set_file_compression(z, zip_uint64_t(idx), ZIP_CM_DEFLATE, 9);
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        std::remove(tmp.c_str());
        error = "cannot write " + tmp;
        return false;
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        error = "cannot replace " + path;
        return false;
    }
    return true;
}

bool read(const std::string& path, std::vector<Member>& members, std::string& error)
{
    members.clear();
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z) {
        error = "cannot open " + path + " as a pack";
        return false;
    }
    const zip_int64_t n = zip_get_num_entries(z, 0);
    bool ok = n >= 0 && std::size_t(n) <= kMaxMembers;
    if (!ok) error = path + ": too many members";
    for (zip_int64_t i = 0; ok && i < n; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z, zip_uint64_t(i), ZIP_FL_ENC_RAW, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
            !(st.valid & ZIP_STAT_SIZE)) {
            ok = false;
            error = path + ": damaged member list";
            break;
        }
        const std::string name = st.name;
        if (!name.empty() && name.back() == '/') continue;
        if (st.size > zipio::kMaxMemberBytes) {
            ok = false;
            error = path + ": member " + name + " is too large for a crossword";
            break;
        }
        Member m{name, std::vector<std::uint8_t>(std::size_t(st.size))};
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        const zip_int64_t got = f ? zip_fread(f, m.bytes.data(), st.size) : -1;
        if (f) zip_fclose(f);
        if (got < 0 || zip_uint64_t(got) != st.size) {
            ok = false;
            error = path + ": cannot read member " + name;
            break;
        }
        members.push_back(std::move(m));
    }
    zip_close(z);
    if (!ok) members.clear();
    return ok;
}

} // namespace packwriter

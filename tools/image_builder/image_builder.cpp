// Builds the application image's data from its readable sources:
//   image_builder CONSTANTS DECLARATIONS OUT_DIR [BUILD_DIR]
// CONSTANTS lists the constant area, one entry a line: "NAME text \"UTF-8 text\"",
// "NAME file PATH" (an embedded file, stored as a byte-set block) or "NAME bytes HEX".
// A PATH is relative to CONSTANTS' folder; one starting with "$BUILD/" names a build
// output under BUILD_DIR.
// DECLARATIONS lists the declared functions: "NAME DLL EXPORT" ("-" = no DLL named).
// Writes image_data.cpp and image_data.h into OUT_DIR.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Constant {
    std::string name;
    uint32_t offset;
};

struct Declaration {
    std::string name, dll, exportName;
};

std::string ToGbk(const std::string &utf8) {
    iconv_t cd = iconv_open("CP936", "UTF-8");
    if (cd == iconv_t(-1)) throw std::runtime_error("no GBK converter");
    std::string out(utf8.size() * 2 + 4, '\0');
    char *in = const_cast<char *>(utf8.data());
    char *dst = out.data();
    size_t left = utf8.size(), room = out.size();
    size_t r = iconv(cd, &in, &left, &dst, &room);
    iconv_close(cd);
    if (r == size_t(-1)) throw std::runtime_error("text not representable in GBK: " + utf8);
    out.resize(out.size() - room);
    return out;
}

std::string Unquote(const std::string &rest) {
    size_t a = rest.find('"'), b = rest.rfind('"');
    if (a == std::string::npos || b == a) throw std::runtime_error("text needs quotes: " + rest);
    std::string s = rest.substr(a + 1, b - a - 1), out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    return out;
}

std::string ReadFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::string FromHex(const std::string &hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

void Align(std::string &area, size_t to) {
    while (area.size() % to) area += '\0';
}

void AppendByteSet(std::string &area, const std::string &bytes) {
    Align(area, 8);
    uint32_t header[2] = {1, uint32_t(bytes.size())};
    area.append(reinterpret_cast<const char *>(header), 8);
    area += bytes;
}

std::string DirectoryOf(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string EmbeddedFilePath(const std::string &manifestPath, const std::string &buildDir, const std::string &path) {
    const std::string buildPrefix = "$BUILD/";
    if (path.compare(0, buildPrefix.size(), buildPrefix) != 0) return DirectoryOf(manifestPath) + "/" + path;
    if (buildDir.empty()) throw std::runtime_error("a build output needs BUILD_DIR: " + path);
    return buildDir + "/" + path.substr(buildPrefix.size());
}

// The area starts with the shared empty text (a NUL) and the empty byte-set block.
std::string BuildArea(const std::string &manifestPath, const std::string &buildDir, std::vector<Constant> &constants) {
    std::string area(1, '\0');
    constants.push_back({"EmptyText", 0});
    Align(area, 8);
    constants.push_back({"EmptyByteSet", uint32_t(area.size())});
    AppendByteSet(area, "");
    std::ifstream manifest(manifestPath);
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name, kind, rest;
        words >> name >> kind;
        std::getline(words, rest);
        rest.erase(0, rest.find_first_not_of(' '));
        if (kind == "text") {
            constants.push_back({name, uint32_t(area.size())});
            area += ToGbk(Unquote(rest));
            area += '\0';
        } else if (kind == "file" || kind == "bytes") {
            std::string bytes =
                kind == "file" ? ReadFile(EmbeddedFilePath(manifestPath, buildDir, rest)) : FromHex(rest);
            Align(area, 8);
            constants.push_back({name, uint32_t(area.size())});
            AppendByteSet(area, bytes);
        } else {
            throw std::runtime_error("unknown constant kind: " + line);
        }
    }
    return area;
}

std::vector<Declaration> ReadDeclarations(const std::string &path) {
    std::vector<Declaration> list;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Declaration d;
        words >> d.name >> d.dll >> d.exportName;
        if (d.exportName.empty()) throw std::runtime_error("declaration needs NAME DLL EXPORT: " + line);
        if (d.dll == "-") d.dll.clear();
        list.push_back(d);
    }
    return list;
}

void WriteHeader(const std::string &path, const std::vector<Constant> &constants, const std::vector<Declaration> &decls,
                 size_t areaSize) {
    std::ofstream out(path);
    out << "// Generated by image_builder from the image's readable sources. Do not edit.\n"
           "#pragma once\n\n#include <cstdint>\n\nnamespace image {\n\n"
        << "constexpr uint32_t kConstantAreaSize = " << areaSize << ";\n"
        << "extern const uint8_t ConstantArea[];\n\n"
        << "// Offsets into the constant area.\nenum Constant : uint32_t {\n";
    for (const Constant &c : constants) out << "    k" << c.name << " = " << c.offset << ",\n";
    out << "};\n\n// Declared function numbers.\nenum DeclaredFunction : int32_t {\n";
    for (size_t i = 0; i < decls.size(); ++i) out << "    kDeclared" << decls[i].name << " = " << i << ",\n";
    out << "};\nconstexpr uint32_t kDeclaredFunctionCount = " << decls.size() << ";\n"
        << "extern const char *const DeclaredDllNames[];\nextern const char *const DeclaredFunctionNames[];\n\n"
        << "} // namespace image\n";
}

void WriteSource(const std::string &path, const std::string &area, const std::vector<Declaration> &decls) {
    std::ofstream out(path);
    out << "// Generated by image_builder from the image's readable sources. Do not edit.\n"
           "#include \"image_data.h\"\n\nnamespace image {\n\nalignas(16) const uint8_t ConstantArea[] = {";
    for (size_t i = 0; i < area.size(); ++i) {
        if (i % 24 == 0) out << "\n   ";
        out << ' ' << unsigned(uint8_t(area[i])) << ',';
    }
    out << "\n};\n\nconst char *const DeclaredDllNames[] = {\n";
    for (const Declaration &d : decls) out << "    \"" << d.dll << "\",\n";
    out << "};\n\nconst char *const DeclaredFunctionNames[] = {\n";
    for (const Declaration &d : decls) out << "    \"" << d.exportName << "\",\n";
    out << "};\n\n} // namespace image\n";
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4 && argc != 5) {
        std::cerr << "usage: image_builder CONSTANTS DECLARATIONS OUT_DIR [BUILD_DIR]\n";
        return 2;
    }
    try {
        std::vector<Constant> constants;
        std::string area = BuildArea(argv[1], argc == 5 ? argv[4] : "", constants);
        std::vector<Declaration> decls = ReadDeclarations(argv[2]);
        std::string dir = argv[3];
        WriteHeader(dir + "/image_data.h", constants, decls, area.size());
        WriteSource(dir + "/image_data.cpp", area, decls);
    } catch (const std::exception &e) {
        std::cerr << "image_builder: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

#pragma once
// Published properties and the property text format.
//
// Every class whose properties are stored declares them once, in declaration order, in a class
// table built with TiClassBuilder; the table names the property, its kind, its declared default
// and its getter and setter. WriteProperties and ReadProperties (and later a property editor)
// walk these tables, so no class writes its own save or load code.
//
//   class TMyObject : public TiPersistent {
//     TI_PERSISTENT
//    public:
//     int Count() const; void SetCount(int);
//     TiFont* Font();
//   };
//   const TiClassInfo& TMyObject::StaticClassInfo() {
//     static const TiClassInfo info = TiClassBuilder<TMyObject>("TMyObject", &TiPersistent::StaticClassInfo())
//         .Integer("Count", &TMyObject::Count, &TMyObject::SetCount, 0)
//         .Object("Font", &TMyObject::Font)
//         .Build();
//     return info;
//   }
//
// A class that derives from another persistent class passes the parent's table; the inherited
// properties come first. Redefault changes an inherited property's default in place.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Graphics.h"

class TiPersistent;
class TiClassInfo;

// The largest distance from the origin that the chart's pixel arithmetic works with. Properties
// that become pixel sizes or positions are held to it (sizes 0 .. iMaxCoordinate, positions
// -iMaxCoordinate .. iMaxCoordinate), whatever a file or a program asks for.
inline constexpr int iMaxCoordinate = 32000;
constexpr int ClampCoordinate(long long value, int low = -iMaxCoordinate, int high = iMaxCoordinate) {
  return static_cast<int>(value < low ? low : value > high ? high : value);
}
// The nearest pixel (ties to even) of a computed position or size: no number counts as 0, and
// the value is held to the drawable range before it becomes an integer.
inline int NearestCoordinate(double value) {
  if (value != value) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(value, double(-iMaxCoordinate), double(iMaxCoordinate))));
}

enum class TiPropertyKind {
  Integer,      // 32-bit signed
  Char,         // one character, stored as its code
  Enumeration,  // stored as the ordinal
  Boolean,      // an enumeration of False, True
  Set,          // stored as the bit mask
  Color,        // stored as the signed 32-bit value
  Float,        // stored in the general 15-digit form
  String,
  Object        // a nested persistent object, stored under its dotted name
};

struct TiPropertyInfo {
  QString Name;
  TiPropertyKind Kind = TiPropertyKind::Integer;
  // The declared default of an ordinal property; a value equal to it is not written. Empty for
  // a property without a default, which is always written.
  std::optional<std::int64_t> Default;
  // The declared default of a float or string property. Editors reset to it; files do not use
  // it (floats and strings are always written, whatever their value).
  std::optional<double> FloatDefault;
  std::optional<QString> StringDefault;
  // Whether the property goes into files; StoredWhen, when set, decides per object.
  bool Stored = true;
  std::function<bool(const TiPersistent&)> StoredWhen;
  // Value names of an enumeration or set, in ordinal order (for editors; may be empty).
  QStringList ValueNames;

  std::function<std::int64_t(const TiPersistent&)> GetOrdinal;
  std::function<void(TiPersistent&, std::int64_t)> SetOrdinal;
  std::function<double(const TiPersistent&)> GetFloat;
  std::function<void(TiPersistent&, double)> SetFloat;
  std::function<QString(const TiPersistent&)> GetString;
  std::function<void(TiPersistent&, const QString&)> SetString;
  std::function<TiPersistent*(const TiPersistent&)> GetObject;

  bool IsOrdinal() const;
  bool Readable() const;
  bool Writable() const;
  bool IsStored(const TiPersistent& object) const;
  // Whether a default is declared for the property (of its kind), whether object holds it, and
  // setting it through the setter (nothing happens without a declared default or a setter).
  bool HasDefault() const;
  bool AtDefault(const TiPersistent& object) const;
  void SetToDefault(TiPersistent& object) const;
};

class TiClassInfo {
 public:
  TiClassInfo(QString className, const TiClassInfo* parent, std::vector<TiPropertyInfo> own);
  const QString& ClassName() const { return className_; }
  const TiClassInfo* Parent() const { return parent_; }
  // Every published property, inherited ones first, each name once.
  const std::vector<TiPropertyInfo>& Properties() const { return properties_; }
  // The property of that name, ignoring case, or nullptr.
  const TiPropertyInfo* Find(const QString& name) const;
  bool InheritsFrom(const TiClassInfo& other) const;

 private:
  QString className_;
  const TiClassInfo* parent_;
  std::vector<TiPropertyInfo> properties_;
};

// The base of every object with published properties.
class TiPersistent {
 public:
  virtual ~TiPersistent() = default;
  static const TiClassInfo& StaticClassInfo();
  virtual const TiClassInfo& ClassInfo() const { return StaticClassInfo(); }
  QString ClassName() const { return ClassInfo().ClassName(); }
};

// Declares the class table of a persistent class; define StaticClassInfo in the .cpp file.
#define TI_PERSISTENT                                                      \
 public:                                                                   \
  static const TiClassInfo& StaticClassInfo();                             \
  const TiClassInfo& ClassInfo() const override { return StaticClassInfo(); }

namespace ti_detail {
template <class F> struct SetterArg;
template <class R, class K, class A> struct SetterArg<R (K::*)(A)> { using type = std::decay_t<A>; };
template <class R, class K, class A> struct SetterArg<R (*)(K&, A)> { using type = std::decay_t<A>; };

template <class T> std::int64_t ToOrdinal(const T& v) {
  if constexpr (std::is_same_v<T, QChar>) return v.unicode();
  else return static_cast<std::int64_t>(v);
}
template <class T> T FromOrdinal(std::int64_t v) {
  if constexpr (std::is_same_v<T, QChar>) return QChar(static_cast<char16_t>(v));
  else if constexpr (std::is_same_v<T, bool>) return v != 0;
  else return static_cast<T>(v);
}
template <class T> TiPersistent* AsObject(T* p) { return p; }
template <class T> TiPersistent* AsObject(T& p) { return &p; }
template <class T> TiPersistent* AsObject(const std::unique_ptr<T>& p) { return p.get(); }
}  // namespace ti_detail

template <class C>
class TiClassBuilder {
 public:
  TiClassBuilder(QString className, const TiClassInfo* parent) : name_(std::move(className)), parent_(parent) {}

  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Integer(const QString& name, Getter get, Setter set = nullptr, std::optional<std::int64_t> def = std::nullopt) {
    return Ordinal(name, TiPropertyKind::Integer, get, set, def);
  }
  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Boolean(const QString& name, Getter get, Setter set = nullptr, std::optional<bool> def = std::nullopt) {
    return Ordinal(name, TiPropertyKind::Boolean, get, set,
                   def ? std::optional<std::int64_t>(*def ? 1 : 0) : std::nullopt, {QStringLiteral("False"), QStringLiteral("True")});
  }
  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Color(const QString& name, Getter get, Setter set = nullptr, std::optional<TColor> def = std::nullopt) {
    return Ordinal(name, TiPropertyKind::Color, get, set, def ? std::optional<std::int64_t>(*def) : std::nullopt);
  }
  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Char(const QString& name, Getter get, Setter set = nullptr, std::optional<QChar> def = std::nullopt) {
    return Ordinal(name, TiPropertyKind::Char, get, set, def ? std::optional<std::int64_t>(def->unicode()) : std::nullopt);
  }
  template <class E, class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Enumeration(const QString& name, Getter get, Setter set, std::optional<E> def, QStringList valueNames = {}) {
    return Ordinal(name, TiPropertyKind::Enumeration, get, set,
                   def ? std::optional<std::int64_t>(static_cast<std::int64_t>(*def)) : std::nullopt, std::move(valueNames));
  }
  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Set(const QString& name, Getter get, Setter set, std::optional<std::int64_t> def, QStringList valueNames = {}) {
    return Ordinal(name, TiPropertyKind::Set, get, set, def, std::move(valueNames));
  }
  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& Float(const QString& name, Getter get, Setter set = nullptr, std::optional<double> def = std::nullopt) {
    TiPropertyInfo p;
    p.Name = name;
    p.Kind = TiPropertyKind::Float;
    p.FloatDefault = def;
    p.GetFloat = [get](const TiPersistent& o) -> double { return static_cast<double>(std::invoke(get, Self(o))); };
    if constexpr (!std::is_same_v<Setter, std::nullptr_t>)
      p.SetFloat = [set](TiPersistent& o, double v) { std::invoke(set, static_cast<C&>(o), v); };
    return Add(std::move(p));
  }
  // A float that files may hold but that is never written, shown or copied (an older name).
  template <class Setter>
  TiClassBuilder& ReadOnlyFromFiles(const QString& name, Setter set) {
    TiPropertyInfo p;
    p.Name = name;
    p.Kind = TiPropertyKind::Float;
    p.Stored = false;
    p.SetFloat = [set](TiPersistent& o, double v) { std::invoke(set, static_cast<C&>(o), v); };
    return Add(std::move(p));
  }
  template <class Getter, class Setter = std::nullptr_t>
  TiClassBuilder& String(const QString& name, Getter get, Setter set = nullptr, std::optional<QString> def = std::nullopt) {
    TiPropertyInfo p;
    p.Name = name;
    p.Kind = TiPropertyKind::String;
    p.StringDefault = std::move(def);
    p.GetString = [get](const TiPersistent& o) -> QString { return QString(std::invoke(get, Self(o))); };
    if constexpr (!std::is_same_v<Setter, std::nullptr_t>)
      p.SetString = [set](TiPersistent& o, const QString& v) { std::invoke(set, static_cast<C&>(o), v); };
    return Add(std::move(p));
  }
  // A nested object; the getter returns a pointer (possibly null), a reference or a unique_ptr.
  template <class Getter>
  TiClassBuilder& Object(const QString& name, Getter get) {
    TiPropertyInfo p;
    p.Name = name;
    p.Kind = TiPropertyKind::Object;
    p.GetObject = [get](const TiPersistent& o) -> TiPersistent* { return ti_detail::AsObject(std::invoke(get, Self(o))); };
    return Add(std::move(p));
  }
  // The property added last is not written to files (it can still be read).
  TiClassBuilder& NotStored() {
    own_.back().Stored = false;
    return *this;
  }
  // The property added last is written only when the predicate holds.
  TiClassBuilder& StoredWhen(std::function<bool(const C&)> predicate) {
    own_.back().StoredWhen = [predicate](const TiPersistent& o) { return predicate(static_cast<const C&>(o)); };
    return *this;
  }
  // Gives an inherited property a new default in place (a value for ordinal kinds, or none).
  TiClassBuilder& Redefault(const QString& name, std::optional<std::int64_t> def) {
    redefaults_.push_back({name, [def](TiPropertyInfo& p) { p.Default = def; }});
    return *this;
  }
  // The same for an inherited float or string property.
  TiClassBuilder& RedefaultFloat(const QString& name, std::optional<double> def) {
    redefaults_.push_back({name, [def](TiPropertyInfo& p) { p.FloatDefault = def; }});
    return *this;
  }
  TiClassBuilder& RedefaultString(const QString& name, std::optional<QString> def) {
    redefaults_.push_back({name, [def](TiPropertyInfo& p) { p.StringDefault = def; }});
    return *this;
  }

  TiClassInfo Build() {
    TiClassInfo info(name_, parent_, std::move(own_));
    if (!redefaults_.empty()) {
      std::vector<TiPropertyInfo> props = info.Properties();
      for (const auto& [n, redefault] : redefaults_)
        for (TiPropertyInfo& p : props)
          if (p.Name.compare(n, Qt::CaseInsensitive) == 0) redefault(p);
      // Rebuilt as a class of its own with the complete list, so the parent's table is untouched.
      return TiClassInfo(name_, parent_, std::move(props));
    }
    return info;
  }

 private:
  static C& Self(const TiPersistent& o) { return const_cast<C&>(static_cast<const C&>(o)); }

  template <class Getter, class Setter>
  TiClassBuilder& Ordinal(const QString& name, TiPropertyKind kind, Getter get, Setter set, std::optional<std::int64_t> def,
                          QStringList names = {}) {
    TiPropertyInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Default = def;
    p.ValueNames = std::move(names);
    p.GetOrdinal = [get](const TiPersistent& o) -> std::int64_t { return ti_detail::ToOrdinal(std::invoke(get, Self(o))); };
    if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
      using Arg = typename ti_detail::SetterArg<Setter>::type;
      p.SetOrdinal = [set](TiPersistent& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), ti_detail::FromOrdinal<Arg>(v)); };
    }
    return Add(std::move(p));
  }

  TiClassBuilder& Add(TiPropertyInfo p) {
    own_.push_back(std::move(p));
    return *this;
  }

  QString name_;
  const TiClassInfo* parent_;
  std::vector<TiPropertyInfo> own_;
  std::vector<std::pair<QString, std::function<void(TiPropertyInfo&)>>> redefaults_;
};

// A font as a stored object: face, height, colour, style and escapement, with a notification
// for its owner whenever one of them changes.
class TiFont : public TiPersistent {
  TI_PERSISTENT
 public:
  TiFont() = default;
  explicit TiFont(const TFont& font) : font_(font) {}
  TiFont(const TiFont&) = delete;
  TiFont& operator=(const TiFont&) = delete;

  const TFont& Font() const { return font_; }
  operator const TFont&() const { return font_; }
  // Takes all values of the other font; notifies once when anything changed.
  void Assign(const TFont& font);
  void Assign(const TiFont& font) { Assign(font.Font()); }

  TColor Color() const { return font_.Color; }
  void SetColor(TColor value);
  int Height() const { return font_.Height; }
  void SetHeight(int value);  // held to the drawable range
  QString Name() const { return font_.Name; }
  void SetName(const QString& value);
  int Orientation() const { return font_.Orientation; }
  void SetOrientation(int value);
  int Size() const { return font_.Size(); }  // points at 96 pixels per inch
  void SetSize(int points);
  TFontStyles Style() const { return font_.Style; }
  void SetStyle(TFontStyles value);

  std::function<void()> OnChange;

 private:
  void Changed();
  TFont font_;
};

// Appends one line "name = value" per published property of object, in declaration order
// (inherited first), names prefixed by "prefix." when prefix is not empty. Names found in
// exclusions (ignoring case) are skipped, nested objects included.
void WriteProperties(const TiPersistent& object, const QString& prefix, QStringList& lines, const QStringList& exclusions = {});
// Consumes the lines that belong to object (all of them when prefix is empty) from the top of
// lines, stopping at the first line of another prefix; a value that does not convert raises
// EConvertError and leaves its line in place.
void ReadProperties(TiPersistent& object, const QString& prefix, QStringList& lines);

// Copies every published property that both objects have (same name and kind) from source to
// target, nested objects included; read-only properties of the target are left alone.
void AssignProperties(TiPersistent& target, const TiPersistent& source);

// String values as stored: carriage return as #13, line feed as #10, and a '#' that would read
// back as one of those (or as #35) as #35. Reading takes "#35" as '#' only before 13, 10 or 35;
// elsewhere it is the text it looks like.
QString EncodePropertyString(const QString& value);
QString DecodePropertyString(const QString& stored);

// Text files of lines: read splitting at CR LF, CR or LF; written with CR LF. Failures raise
// EiError with the reason.
QStringList ReadTextLines(const QString& fileName);
void WriteTextLines(const QString& fileName, const QStringList& lines);

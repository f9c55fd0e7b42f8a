#include "invoke.h"

#include "json.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QVariant>

#include <cmath>
#include <deque>
#include <limits>
#include <span>

namespace tracecall {

namespace {

// Storage for one argument or result, whichever type the member declares.
struct Slot {
    int16_t s = 0;
    int32_t i = 0;
    uint32_t u = 0;
    int64_t ll = 0;
    float f = 0;
    double d = 0;
    bool b = false;
    QString str;
    std::vector<int32_t> list;
    int32_t outValue = 0;
    int32_t* pointer = nullptr;
    std::span<const int32_t> span;
};

bool isPointer(const QByteArray& typeName) { return typeName.endsWith('*'); }
bool isSpan(const QByteArray& typeName) { return typeName == "std::span<const int32_t>"; }

// Points `argv` at the slot field the type uses; false for a type this tool cannot pass.
bool bindSlot(Slot& slot, int typeId, void*& argv) {
    switch (typeId) {
    case QMetaType::Short:
        argv = &slot.s;
        return true;
    case QMetaType::Int:
        argv = &slot.i;
        return true;
    case QMetaType::UInt:
        argv = &slot.u;
        return true;
    case QMetaType::LongLong:
        argv = &slot.ll;
        return true;
    case QMetaType::Float:
        argv = &slot.f;
        return true;
    case QMetaType::Double:
        argv = &slot.d;
        return true;
    case QMetaType::Bool:
        argv = &slot.b;
        return true;
    case QMetaType::QString:
        argv = &slot.str;
        return true;
    default:
        return false;
    }
}

bool fillSlot(Slot& slot, int typeId, const Argument& a, std::string& error) {
    const bool number = a.kind == Argument::Kind::Integer || a.kind == Argument::Kind::Decimal;
    switch (typeId) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        if (a.kind != Argument::Kind::Integer) {
            error = "expected a whole number";
            return false;
        }
        slot.s = static_cast<int16_t>(a.integer);
        slot.i = static_cast<int32_t>(a.integer);
        slot.u = static_cast<uint32_t>(a.integer);
        slot.ll = a.integer;
        return true;
    case QMetaType::Float:
    case QMetaType::Double:
        if (!number) {
            error = "expected a number";
            return false;
        }
        // Read the decimal straight into single precision, as the member would receive it.
        slot.f = a.kind == Argument::Kind::Integer ? static_cast<float>(a.integer)
                                                   : std::strtof(a.text.c_str(), nullptr);
        slot.d = a.decimal();
        return true;
    case QMetaType::Bool:
        if (a.kind == Argument::Kind::Boolean) {
            slot.b = a.boolean;
        } else if (a.kind == Argument::Kind::Integer) {
            slot.b = a.integer != 0;
        } else {
            error = "expected true or false";
            return false;
        }
        return true;
    case QMetaType::QString:
        if (a.kind != Argument::Kind::Text) {
            error = "expected a string in double quotes";
            return false;
        }
        slot.str = QString::fromStdString(a.text);
        return true;
    default:
        error = "cannot pass a value of this type";
        return false;
    }
}

std::string slotJson(const Slot& slot, int typeId) {
    switch (typeId) {
    case QMetaType::Short:
        return std::to_string(slot.s);
    case QMetaType::Int:
        return std::to_string(slot.i);
    case QMetaType::UInt:
        return std::to_string(slot.u);
    case QMetaType::LongLong:
        return std::to_string(slot.ll);
    case QMetaType::Float:
        return jsonFloat(slot.f);
    case QMetaType::Double:
        return jsonDouble(slot.d);
    case QMetaType::Bool:
        return slot.b ? "true" : "false";
    case QMetaType::QString:
        return jsonString(slot.str);
    default:
        return "null";
    }
}

} // namespace

std::string jsonValue(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? "true" : "false";
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return std::to_string(v.toLongLong());
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return std::to_string(v.toULongLong());
    case QMetaType::Float:
        return jsonFloat(v.toFloat());
    case QMetaType::Double:
        return jsonDouble(v.toDouble());
    case QMetaType::QString:
        return jsonString(v.toString());
    default:
        return v.isValid() ? jsonString(v.toString()) : "null";
    }
}

Outcome invokeMethod(QObject& target, const Call& call) {
    Outcome outcome;
    const QMetaObject* meta = target.metaObject();
    QMetaMethod method;
    bool named = false;
    for (int m = 0; m < meta->methodCount(); ++m) {
        const QMetaMethod candidate = meta->method(m);
        if (candidate.name() != call.name.c_str() ||
            candidate.methodType() == QMetaMethod::Signal) {
            continue;
        }
        named = true;
        if (candidate.parameterCount() == static_cast<int>(call.args.size())) {
            method = candidate;
            break;
        }
    }
    if (!method.isValid()) {
        outcome.error =
            named ? "wrong number of arguments for " + call.name : "no method named " + call.name;
        return outcome;
    }

    const int count = method.parameterCount();
    std::deque<Slot> storage(count + 1);
    std::vector<void*> argv(count + 1, nullptr);
    const int returnType = method.returnMetaType().id();
    if (returnType != QMetaType::Void && !bindSlot(storage[0], returnType, argv[0])) {
        outcome.error = "cannot receive the result of " + call.name;
        return outcome;
    }
    for (int p = 0; p < count; ++p) {
        Slot& slot = storage[p + 1];
        const Argument& a = call.args[p];
        const QByteArray typeName = method.parameterTypeName(p);
        if (isPointer(typeName)) {
            // A pointer parameter is either the caller's list or an out value.
            if (a.kind == Argument::Kind::List) {
                slot.list.assign(a.list.begin(), a.list.end());
                slot.pointer = slot.list.data();
            } else if (a.kind == Argument::Kind::Out) {
                slot.pointer = &slot.outValue;
                outcome.hasOut = true;
            } else {
                outcome.error = "parameter " + method.parameterNames()[p].toStdString() +
                                " takes a list [..] or _";
                return outcome;
            }
            argv[p + 1] = &slot.pointer;
            continue;
        }
        if (isSpan(typeName)) {
            // A span parameter is the caller's list, its length included.
            if (a.kind != Argument::Kind::List) {
                outcome.error =
                    "parameter " + method.parameterNames()[p].toStdString() + " takes a list [..]";
                return outcome;
            }
            slot.list.assign(a.list.begin(), a.list.end());
            slot.span = slot.list;
            argv[p + 1] = &slot.span;
            continue;
        }
        const int typeId = method.parameterMetaType(p).id();
        std::string error;
        if (!fillSlot(slot, typeId, a, error) || !bindSlot(slot, typeId, argv[p + 1])) {
            outcome.error = "parameter " + method.parameterNames()[p].toStdString() + ": " +
                            (error.empty() ? "unsupported type" : error);
            return outcome;
        }
    }

    QMetaObject::metacall(&target, QMetaObject::InvokeMetaMethod, method.methodIndex(),
                          argv.data());

    if (returnType != QMetaType::Void) {
        outcome.result = slotJson(storage[0], returnType);
    }
    for (int p = 0; p < count; ++p) {
        if (call.args[p].kind == Argument::Kind::Out) {
            outcome.out.emplace_back(method.parameterNames()[p].toStdString(),
                                     std::to_string(storage[p + 1].outValue));
        }
    }
    return outcome;
}

Outcome writeProperty(QObject& target, const Call& call) {
    Outcome outcome;
    const QMetaObject* meta = target.metaObject();
    const int index = meta->indexOfProperty(call.name.c_str());
    if (index < 0) {
        outcome.error = "no property named " + call.name;
        return outcome;
    }
    const QMetaProperty property = meta->property(index);
    const Argument& a = call.args.front();
    QVariant value;
    switch (a.kind) {
    case Argument::Kind::Integer:
        value = QVariant::fromValue<qlonglong>(a.integer);
        break;
    case Argument::Kind::Decimal:
        value = a.decimal();
        break;
    case Argument::Kind::Boolean:
        value = a.boolean;
        break;
    case Argument::Kind::Text:
        value = QString::fromStdString(a.text);
        break;
    default:
        outcome.error = "a property takes a single value";
        return outcome;
    }
    if (!value.convert(property.metaType()) || !property.write(&target, value)) {
        outcome.error = "cannot write that value to " + call.name;
    }
    return outcome;
}

Outcome readProperty(QObject& target, const Call& call) {
    Outcome outcome;
    const QMetaObject* meta = target.metaObject();
    const int index = meta->indexOfProperty(call.name.c_str());
    if (index < 0) {
        outcome.error = "no property named " + call.name;
        return outcome;
    }
    outcome.result = jsonValue(meta->property(index).read(&target));
    return outcome;
}

} // namespace tracecall

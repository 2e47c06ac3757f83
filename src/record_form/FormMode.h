#pragma once

#include <initializer_list>

// The record form's modes.
enum class FormMode : unsigned char { FirstRecord, Browse, Add, Search };

// A set of modes.
class Modes {
public:
    constexpr Modes() = default;
    constexpr Modes(std::initializer_list<FormMode> modes) {
        for (FormMode mode : modes) {
            m_bits |= bit(mode);
        }
    }
    static constexpr Modes all() {
        return {FormMode::FirstRecord, FormMode::Browse, FormMode::Add, FormMode::Search};
    }
    constexpr bool has(FormMode mode) const { return (m_bits & bit(mode)) != 0; }

private:
    static constexpr unsigned bit(FormMode mode) { return 1u << unsigned(mode); }
    unsigned m_bits = 0;
};

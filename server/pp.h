#pragma once

// Preprocessor helpers that walk the parameter tuples of methods.def.
#define ZENVO_PARENS ()
#define ZENVO_EXPAND(...) ZENVO_EXPAND3(ZENVO_EXPAND3(ZENVO_EXPAND3(ZENVO_EXPAND3(__VA_ARGS__))))
#define ZENVO_EXPAND3(...) ZENVO_EXPAND2(ZENVO_EXPAND2(ZENVO_EXPAND2(ZENVO_EXPAND2(__VA_ARGS__))))
#define ZENVO_EXPAND2(...) ZENVO_EXPAND1(ZENVO_EXPAND1(ZENVO_EXPAND1(ZENVO_EXPAND1(__VA_ARGS__))))
#define ZENVO_EXPAND1(...) __VA_ARGS__

// ZENVO_FOR_EACH(m, (a, b), (c, d)) -> m(a, b) m(c, d)
#define ZENVO_FOR_EACH(macro, ...)                                                                 \
    __VA_OPT__(ZENVO_EXPAND(ZENVO_FOR_EACH_HELPER(macro, __VA_ARGS__)))
#define ZENVO_FOR_EACH_HELPER(macro, a1, ...)                                                      \
    macro a1 __VA_OPT__(ZENVO_FOR_EACH_AGAIN ZENVO_PARENS(macro, __VA_ARGS__))
#define ZENVO_FOR_EACH_AGAIN() ZENVO_FOR_EACH_HELPER

// Drops the leading comma of a list built as ", a, b".
#define ZENVO_DROP_FIRST(...) ZENVO_DROP_FIRST_I(__VA_ARGS__)
#define ZENVO_DROP_FIRST_I(first, ...) __VA_ARGS__

// Numbers written with '.' and without grouping whatever the program's locale, for the
// scope's thread only: files and dialogs read the same in every country.
#pragma once

#include <locale.h>

class CCLocaleScope
{
public:
    CCLocaleScope()
    {
        static locale_t s_cLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
        m_old = s_cLocale != (locale_t)0 ? uselocale(s_cLocale) : (locale_t)0;
    }
    ~CCLocaleScope()
    {
        if (m_old != (locale_t)0)
            uselocale(m_old);
    }
    CCLocaleScope(const CCLocaleScope&) = delete;
    CCLocaleScope& operator=(const CCLocaleScope&) = delete;

private:
    locale_t m_old;
};

#!/usr/bin/env python3
# Writes the money regression files of this folder (database format 2), as a
# file written by hand or by another program may hold them. Run from here.
import struct


def comma(items):
    out = []
    for it in items:
        if any(c in it for c in ',"') or any(ord(c) <= 32 for c in it):
            out.append('"' + it.replace('"', '""') + '"')
        else:
            out.append(it)
    if len(items) == 1 and items[0] == '':
        return '""'
    return ','.join(out)


def s(text):
    b = text.encode('utf-8')
    return b'\x14' + struct.pack('<i', len(b)) + b


def i(n):
    return b'\x04' + struct.pack('<i', n)


def db(artisans, sheets, periods, cur=0):
    out = i(2) + b'\x01'
    for art, prods in artisans:
        out += s('|:|'.join(art) + '|:|') + b'\x01'
        for p in prods:
            out += s(':|:'.join(p))
        out += b'\x00'
    out += b'\x00\x01'
    for date, total, lines in sheets:
        out += s('|:|'.join([date, 'Ana', total, comma([comma(l) for l in lines])]))
    out += b'\x00' + i(cur) + b'\x01'
    for p in periods:
        out += s('|:|'.join(p))
    return out + b'\x00'


def artisan(no, nom, prenom):
    return [no, nom, prenom, '', '', '', '', '', '', '']


def product(art, no, descr, valeur, prix, sold):
    packed = ','.join(d + str(q) for d, q in sold)
    total = sum(q for _, q in sold)
    return [art, no, descr, valeur, prix, '', packed, str(total), '0', '', '', '']


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


TOUT = '-[tout]-'
tre = artisan('001', 'Tremblay', 'Marie')

# Prices holding a fraction of a cent, sold on three days, and 3.335$ x 3 on one line.
write('fraction.tlvdb', db(
    [(tre, [product('001', '001', 'Bol', '2.00$', '3.335$', [('090503', 1), ('090502', 1), ('090501', 4)]),
            product('001', '002', 'Vase', '8.005$', '12.345$', [('090503', 1), ('090502', 1), ('090501', 1)])])],
    [('090503', '15.68$', [['TreMar001-001', 'Bol', '3.335$', '1', '3.34$'],
                           ['TreMar001-002', 'Vase', '12.345$', '1', '12.35$']]),
     ('090502', '15.68$', [['TreMar001-001', 'Bol', '3.335$', '1', '3.34$'],
                           ['TreMar001-002', 'Vase', '12.345$', '1', '12.35$']]),
     ('090501', '25.69$', [['TreMar001-001', 'Bol', '3.335$', '3', '10.01$'],
                           ['TreMar001-001', 'Bol', '3.335$', '1', '3.34$'],
                           ['TreMar001-002', 'Vase', '12.345$', '1', '12.35$']])],
    [['Mai', '090501', '090531'], [TOUT, '090501', '090503']]))

# A return whose stored total is empty, a line total and a sheet total that
# differ from their lines.
write('stored-totals.tlvdb', db(
    [(tre, [product('001', '001', 'Bol', '20.00$', '24.00$', [('090518', 3), ('090519', -1)])])],
    [('090519', '', [['TreMar001-001', 'Bol', '24.00$', '-1', '']]),
     ('090518', '100.00$', [['TreMar001-001', 'Bol', '24.00$', '3', '48.00$']])],
    [['Mai', '090501', '090531'], [TOUT, '090518', '090519']]))

# The same sales stored oldest first (with "-[tout]-" as an older program
# fitted it from the first and last sheet), newest first, and in no order.
sales = [('090301', '12.00$', [['TreMar001-001', 'Bol', '12.00$', '1', '12.00$']]),
         ('090519', '12.00$', [['TreMar001-001', 'Bol', '12.00$', '1', '12.00$']]),
         ('090601', '3.00$', [['TreMar001-001', 'Bol', '3.00$', '1', '3.00$']])]
bol = [(tre, [product('001', '001', 'Bol', '10.00$', '12.00$', [('090301', 1), ('090519', 1), ('090601', 1)])])]
write('oldest-first.tlvdb', db(bol, sales, [['Printemps', '090301', '090531'], [TOUT, '090601', '090301']]))
write('newest-first.tlvdb', db(bol, sales[::-1], [['Printemps', '090301', '090531'], [TOUT, '090301', '090601']]))
write('unsorted.tlvdb', db(bol, [sales[1], sales[2], sales[0]],
                           [['Printemps', '090301', '090531'], [TOUT, '090301', '090519']]))

# Amounts at and past the range the program holds: a price x quantity that
# cannot be held, one that can, and quantities at the largest 32-bit integer.
big = '922337203685477.00$'
write('range.tlvdb', db(
    [(tre, [product('001', '001', 'Bol', '1.00$', big, [('090518', 3)]),
            product('001', '002', 'Tasse', '1.00$', '1.00$', [('090519', 2147483647)])])],
    [('090519', '', [['TreMar001-002', 'Tasse', '1.00$', '2147483647', '2147483647.00$'],
                     ['TreMar001-002', 'Tasse', '1.00$', '2147483647', '2147483647.00$']]),
     ('090518', '', [['TreMar001-001', 'Bol', big, '1', big], ['TreMar001-001', 'Bol', big, '2', '']])],
    [['Tasses', '090519', '090519'], ['Bols', '090518', '090518'], [TOUT, '090518', '090519']]))

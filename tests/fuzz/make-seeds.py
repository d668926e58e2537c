#!/usr/bin/python3
# Writes the hand-made seed inputs of the fuzz targets into corpus/ (run from
# tests/fuzz/corpus). Regression inputs of faults found are added beside them.
import io, struct, os
from PIL import Image
def u16(t, bom=True): return (b'\xff\xfe' if bom else b'') + t.encode('utf-16-le')
real = "[RECOGNIZE_INFO]\r\nRecognizePhoto=1\r\nRecognizeDocument=0\r\nFIOOnLation=0\r\n\r\n[SCAN_INFO]\r\nScannerName=PassportReader Specimen Feeder\r\nScannerIndex=0\r\nBrightnessValue=50\r\nPaperSizeValue=A4\r\n\r\n[ScanForm]\r\nScanFormTop=100\r\n"
def w(d,n,b): open(f'{d}/{n}','wb').write(b)
w('settings_file','written-by-package.iniu',u16(real))
w('settings_file','no-bom.iniu',u16(real,False))
w('settings_file','odd-trailing-byte.iniu',u16(real)+b'\x41')
w('settings_file','empty.iniu',b'')
w('settings_file','comments-blanks-cyrillic.iniu',u16("; комментарий\n\n  [Сканер]  \n Имя = Сканер №1 \nkey_without_value\n=value_without_key\n[dup]\na=1\n[DUP]\nA=2\n[]\n=\n[x]=y]\n"))
w('settings_file','bytes-8bit.iniu',real.encode('latin-1'))
w('settings_file','lone-surrogates.iniu',u16("[s]\r\nk=")+b'\x00\xd8\x41\x00\x00\xdc'+u16("\r\n",False))
w('settings_write','scanner-and-paper',b'PassportReader Specimen Feeder\xffA4\xff50\xff0')
w('settings_write','cyrillic-and-blanks','Сканер документов №2  '.encode()+b'\xff ID-1\xff\xff-1')
w('settings_write','equals-brackets-semicolon',b'[a]=b;c\xff;x=y\xff[SCAN_INFO]\xff=')
w('settings_write','empty',b'')
img = Image.new('RGB',(7,5))
for x in range(7):
  for y in range(5): img.putpixel((x,y),(x*30,y*50,100))
def save(im, fmt, **kw):
  b=io.BytesIO(); im.save(b,fmt,**kw); return b.getvalue()
w('picture_bmp','rgb24.bmp',save(img,'BMP'))
w('picture_bmp','pal8.bmp',save(img.convert('P'),'BMP'))
w('picture_bmp','mono1.bmp',save(img.convert('1'),'BMP'))
w('picture_bmp','gray8.bmp',save(img.convert('L'),'BMP'))
w('picture_bmp','rgba32.bmp',save(img.convert('RGBA'),'BMP'))
b=bytearray(save(img,'BMP')); struct.pack_into('<i',b,22,-5); w('picture_bmp','top-down.bmp',bytes(b))
rows=b''.join((b'\x10\x20\x30'*3+b'\x00'*3) for _ in range(2))
w('picture_bmp','core-header.bmp',b'BM'+struct.pack('<IHHI',14+12+len(rows),0,0,26)+struct.pack('<IHHHH',12,3,2,1,24)+rows)
pal=b''.join(bytes([i,i,i,0]) for i in range(256))
rle=b'\x04\x05\x00\x00\x04\x09\x00\x01'
hdr=struct.pack('<IiiHHIIiiII',40,4,2,1,8,1,len(rle),2835,2835,256,0)
w('picture_bmp','rle8.bmp',b'BM'+struct.pack('<IHHI',14+40+1024+len(rle),0,0,14+40+1024)+hdr+pal+rle)
w('picture_bmp','truncated.bmp',save(img,'BMP')[:-9])
w('picture_bmp','not-a-bitmap.bmp',b'\xff\xd8\xff\xe0 this is no bitmap')
big=img.resize((24,16))
w('picture_jpeg','baseline.jpg',save(big,'JPEG',quality=90))
w('picture_jpeg','progressive.jpg',save(big,'JPEG',quality=80,progressive=True))
w('picture_jpeg','gray.jpg',save(big.convert('L'),'JPEG'))
w('picture_jpeg','subsampled-420.jpg',save(big,'JPEG',subsampling=2))
w('picture_jpeg','cmyk.jpg',save(big.convert('CMYK'),'JPEG'))
w('picture_jpeg','truncated.jpg',save(big,'JPEG')[:-40])
for n,t in [('day-first','14.05.2012'),('slashes','1/2/1980'),('iso','2012-05-14'),('blank',' 29 02 2000 '),
            ('leap-not','29.02.2019'),('two-digit-year','14.05.12'),('month-name','14 мая 2012'),
            ('mixed-seps','14.05-2012'),('arabic-digits','١٤.٠٥.٢٠١٢'),('year-zero','01.01.0000'),
            ('crlf','14.05.2012\r\n'),('empty','')]:
  w('date_rule',n,t.encode('utf-8'))
import json
ok={"format":1,"documentType":"ID_KG","title":"Identity card","picture":"page.png",
    "photoZone":{"x":5,"y":10,"width":30,"height":40},
    "fields":[{"name":"LastName","value":"ТЕСТОВ","zone":{"x":40,"y":10,"width":60,"height":12},"untrusted":[2]},
              {"name":"LastName_EX","value":"TESTOV"},
              {"name":"PlaceOfBirth","value":"ГОР. ПЕРВЫЙ\r\nВТОРАЯ ОБЛ."},
              {"name":"MiddleName","value":""},
              {"name":"Sex","value":"","found":True,"id":"7"}]}
w('specimen_description','readme-example.json',json.dumps(ok,ensure_ascii=False,indent=1).encode())
for n,mut in [('zone-outside',lambda d:d.update(photoZone={"x":100,"y":70,"width":50,"height":50})),
              ('no-picture',lambda d:d.pop('picture')),
              ('missing-picture-file',lambda d:d.update(picture="absent.png")),
              ('fields-not-array',lambda d:d.update(fields={"name":"x"})),
              ('untrusted-past-end',lambda d:d['fields'][0].update(untrusted=[6])),
              ('huge-zone',lambda d:d.update(photoZone={"x":2147483647,"y":0,"width":2147483647,"height":1})),
              ('negative-zone',lambda d:d['fields'][1].update(zone={"x":-5,"y":-5,"width":-10,"height":3}))]:
  d=json.loads(json.dumps(ok)); mut(d); w('specimen_description',n+'.json',json.dumps(d,ensure_ascii=False).encode())
w('specimen_description','not-json.json',b'{"documentType": "ID_KG", ')
w('specimen_description','array.json',b'[1,2,3]')
# engine answers: options byte then fields (name, flags, [len32], [untrusted], vlen, value)
def field(name, value, flags=0x01, length=None, untrusted=(), utf16=False):
  names=["Series","Number","PersonalCode","Sex","Sex_EX","DateOfBirth","DateOfIssue","DateOfExpiry","PlaceOfBirth","PlaceOfBirth_EX","IssuedBy","DepartmentCode","Nationality","Nationality_EX","LastName","LastName_EX","FirstName","FirstName_EX","MiddleName","MiddleName_EX","Photo","FullImage"]
  v=value.encode('utf-16-le' if utf16 else 'utf-8')
  f=flags|(0x08 if utf16 else 0)|(0x10 if length is not None else 0)|(len(untrusted)<<5)
  out=bytes([names.index(name) if name in names else name, f])
  if length is not None: out+=struct.pack('<i',length)
  return out+bytes(untrusted)+bytes([len(v)])+v
w('engine_answers','passport-add',bytes([0x18])+field("Series","45 06")+field("Number","123456",untrusted=[2])+field("LastName","ИВАНОВ")+field("DateOfBirth","02.01.1980")+field("PlaceOfBirth","ГОР. МОСКВА\r\nОБЛ.")+field("Photo","photo",0x03)+field("FullImage","page",0x03))
w('engine_answers','foreign-latin-edit',bytes([0x07])+field("LastName","ПЕТРОВ")+field("LastName_EX","PETROV")+field("Nationality_EX","RUS",utf16=True)+field("DateOfIssue","2012-05-14")+field("IssuedBy","УФМС\r\n\r\nРОССИИ"))
w('engine_answers','odd-lengths',bytes([0x00])+field("Number","12",length=-3)+field("LastName","A",length=40)+field("FirstName","",length=0)+field("Sex","М",length=1))
w('engine_answers','picture-save-fails',bytes([0x18])+field("Number","1")+field("Photo","x",0x07)+field("FullImage","y",0x07))
w('engine_answers','unknown-names-and-nothing',bytes([0x00])+field(200,"whatever")+field("Photo","",0x00))
w('engine_answers','engine-fails',bytes([0x40])+field("Number","1"))
w('engine_answers','null-collection-no-array',bytes([0xA0]))
# DIB reader: the bitmaps above plus kinds only a scanner's driver writes.
import shutil
for f in ['rgb24','pal8','mono1','gray8','rgba32','top-down','core-header','rle8','truncated']:
  shutil.copy(f'picture_bmp/{f}.bmp', f'dib_file/{f}.bmp')
def bmp(info, table, bits):
  off=14+len(info)+len(table)
  return b'BM'+struct.pack('<IHHI',off+len(bits),0,0,off)+info+table+bits
pal16=b''.join(bytes([i*16,i*16,i*16,0]) for i in range(16))
w('dib_file','pal4.bmp',bmp(struct.pack('<IiiHHIIiiII',40,3,2,1,4,0,8,0,0,16,0),pal16,b'\x01\x20\x00\x00\x34\x50\x00\x00'))
masks=struct.pack('<III',0xF800,0x07E0,0x001F)
w('dib_file','bitfields565.bmp',bmp(struct.pack('<IiiHHIIiiII',40,2,2,1,16,3,8,0,0,0,0),masks,b'\x00\xf8\xe0\x07\x1f\x00\xff\xff'))
w('dib_file','clrused-beyond-table.bmp',bmp(struct.pack('<IiiHHIIiiII',40,2,1,1,8,0,4,0,0,255,0),pal16,b'\x00\x0f\x00\x00'))
w('dib_file','rle4.bmp',bmp(struct.pack('<IiiHHIIiiII',40,4,1,1,4,2,6,0,0,16,0),pal16,b'\x04\x12\x00\x00\x00\x01'))
# Profile files (the engine's 8-bit configuration): file bytes, 0xFF, then
# section, key and value separated by 0x01.
def wp(n,b): open(f'profile_file/{n}','wb').write(b)
cfg=b"[DefaultScanningConfiguration]\r\nUseADF=0\r\nResolutionX=300\r\nPageDimensions=0mm 0mm 210mm 270mm\r\nZone1Type=ZoneOfPassportRF\r\n\r\n[ScanAllDocuments]\r\nShowTWAIN=0\r\nZone1=0mm 0mm -1mm -1mm\r\n"
wp('config-replace-key', cfg+b'\xffScanAllDocuments\x01ShowTWAIN\x011')
wp('config-new-section', cfg+b'\xffNewSection\x01Key\x01value with blanks ')
wp('config-new-key', cfg+b'\xffdefaultscanningconfiguration\x01ResolutionY\x01300')
wp('comments-unknown-lines', b"; engine file\n[Main]\nOther=keep me\ngarbage line\n  [ Spaced ]  \nk = \"quoted\" \n"+b'\xffMain\x01Key\x01"1"')
wp('lf-only-no-final-break', b"[Main]\nOther=x\n[Second]\na=b"+b'\xffSecond\x01a\x01c')
wp('8bit-text', "[Main]\nOther=Проходная\n".encode('cp1251')+b'\xffMain\x01Name\x01'+"Сканер".encode('utf-8'))
wp('breaking-value', cfg+b'\xffMain\x01Key\x01a\r\n[Injected]\r\nx=1')
wp('breaking-name', cfg+b'\xffMa]in\x01Ke=y\x01v')
wp('empty-file', b'\xffMain\x01Key\x01v')
wp('no-write-part', cfg)
